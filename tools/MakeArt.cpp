// Draws Tavrino's icons and its About box banner, the PNG files of creator/app/images:
//   Tavrino.png  the program: a film frame holding a face       (icon 140)
//   Create.png   Create Video: a red record disc               (icon 141)
//   Edit.png     edit with a tool: a pencil                     (icon 142)
//   Exit.png     Exit: an arrow leaving through a door          (icon 143)
//   Select.png   select a file: a page under a magnifying glass (icon 144)
//   Folder.png   open a folder: a folder                        (icon 145)
//   Web.png      the maker's web page: a globe                  (icon 146)
//   Options.png  Options: a gear wheel                          (icon 147)
//   Play.png     play: a green triangle                         (icon 148)
//   Stop.png     Stop Video Creation: a dark square             (icon 149)
//   Banner.png   a film strip of faces, 160 x 40                (bitmap 129)
// Icons are 32 x 32 with transparency, in bold shapes and outlines that stay clear at
// 16 x 16; every picture is drawn eight times larger and reduced, for smooth edges.
// Run it after changing a picture and commit what it writes.
//
// Usage: MakeArt <folder>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kIconSize = 32;
constexpr int kOversample = 8;
constexpr double kPi = 3.14159265358979323846;

// Opaque colours by their red, green, blue values.
cv::Scalar Colour(int red, int green, int blue)
{
    return cv::Scalar(blue, green, red, 255);
}

const cv::Scalar kOutline = Colour(40, 40, 48);
const cv::Scalar kWhite = Colour(255, 255, 255);

// A picture in units of its final pixels, drawn oversampled with its colours weighted by
// their coverage (transparent is all zero), so that reducing it averages edges right.
class Canvas {
public:
    Canvas(int width, int height)
        : pixels_(height * kOversample, width * kOversample, CV_8UC4, cv::Scalar::all(0))
    {}

    void Polygon(const std::vector<cv::Point2d>& points, const cv::Scalar& fill,
                 double outline = 1.2)
    {
        const std::vector<cv::Point> scaled = Scaled(points);
        cv::fillPoly(pixels_, std::vector<std::vector<cv::Point>>{scaled}, fill, cv::LINE_8);
        if (outline > 0)
            cv::polylines(pixels_, std::vector<std::vector<cv::Point>>{scaled}, true, kOutline,
                          Thickness(outline), cv::LINE_8);
    }
    void Box(double left, double top, double right, double bottom, const cv::Scalar& fill,
             double outline = 1.2)
    {
        Polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, fill, outline);
    }
    void Disc(cv::Point2d centre, double radius, const cv::Scalar& fill, double outline = 1.2)
    {
        cv::circle(pixels_, Scaled(centre), Length(radius), fill, cv::FILLED, cv::LINE_8);
        if (outline > 0)
            cv::circle(pixels_, Scaled(centre), Length(radius), kOutline, Thickness(outline),
                       cv::LINE_8);
    }
    void Line(cv::Point2d from, cv::Point2d to, const cv::Scalar& colour, double width)
    {
        cv::line(pixels_, Scaled(from), Scaled(to), colour, Thickness(width), cv::LINE_8);
    }
    void Arc(cv::Point2d centre, cv::Size2d axes, double from, double to, const cv::Scalar& colour,
             double width)
    {
        cv::ellipse(pixels_, Scaled(centre), cv::Size(Length(axes.width), Length(axes.height)), 0,
                    from, to, colour, Thickness(width), cv::LINE_8);
    }

    // The picture at its final size, colours no longer weighted.
    cv::Mat Reduced() const
    {
        cv::Mat reduced;
        cv::resize(pixels_, reduced,
                   cv::Size(pixels_.cols / kOversample, pixels_.rows / kOversample), 0, 0,
                   cv::INTER_AREA);
        reduced.forEach<cv::Vec4b>([](cv::Vec4b& pixel, const int*) {
            if (pixel[3] == 0 || pixel[3] == 255)
                return;
            for (int c = 0; c < 3; ++c)
                pixel[c] = cv::saturate_cast<uchar>(pixel[c] * 255.0 / pixel[3]);
        });
        return reduced;
    }

private:
    static int Length(double units) { return static_cast<int>(std::lround(units * kOversample)); }
    static int Thickness(double units) { return std::max(1, Length(units)); }
    static cv::Point Scaled(cv::Point2d p) { return {Length(p.x), Length(p.y)}; }
    static std::vector<cv::Point> Scaled(const std::vector<cv::Point2d>& points)
    {
        std::vector<cv::Point> scaled;
        for (const cv::Point2d& p : points)
            scaled.push_back(Scaled(p));
        return scaled;
    }

    cv::Mat pixels_;
};

// A smiling face: the program's sign, in the main icon and the banner.
void Face(Canvas& canvas, cv::Point2d centre, double radius)
{
    canvas.Disc(centre, radius, Colour(255, 204, 51), radius / 6);
    const double eye = radius * 0.16;
    canvas.Disc({centre.x - radius * 0.36, centre.y - radius * 0.25}, eye, kOutline, 0);
    canvas.Disc({centre.x + radius * 0.36, centre.y - radius * 0.25}, eye, kOutline, 0);
    canvas.Arc({centre.x, centre.y + radius * 0.05}, {radius * 0.52, radius * 0.45}, 20, 160,
               kOutline, radius * 0.14);
}

cv::Mat MainIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    canvas.Box(1.5, 3.5, 30.5, 28.5, Colour(52, 62, 80));
    for (double x = 3.5; x < 29; x += 5) {
        canvas.Box(x, 5, x + 2.4, 7, kWhite, 0);
        canvas.Box(x, 25, x + 2.4, 27, kWhite, 0);
    }
    canvas.Box(3.5, 9, 28.5, 23, Colour(110, 190, 240), 0);
    Face(canvas, {16, 16}, 6.6);
    return canvas.Reduced();
}

cv::Mat CreateIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    canvas.Disc({16, 16}, 12.5, Colour(214, 40, 40), 1.6);
    canvas.Arc({16, 16}, {8.5, 8.5}, 200, 250, Colour(255, 170, 160), 2.2);
    return canvas.Reduced();
}

cv::Mat EditIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    // A pencil from the lower left (its point) to the upper right (its eraser).
    const cv::Point2d along(std::cos(-kPi / 4), std::sin(-kPi / 4));
    const cv::Point2d across(-along.y, along.x);
    const auto at = [&](double a, double b) {
        return cv::Point2d(4.5, 27.5) + along * a + across * b;
    };
    const double half = 4.2;
    canvas.Polygon({at(0, 0), at(7, -half), at(7, half)}, Colour(240, 205, 150));
    canvas.Polygon({at(0, 0), at(2.6, -1.6), at(2.6, 1.6)}, kOutline, 0);
    canvas.Polygon({at(7, -half), at(25, -half), at(25, half), at(7, half)}, Colour(250, 180, 20));
    canvas.Polygon({at(25, -half), at(28, -half), at(28, half), at(25, half)},
                   Colour(180, 180, 190));
    canvas.Polygon({at(28, -half), at(32, -half), at(32, half), at(28, half)},
                   Colour(240, 120, 140));
    return canvas.Reduced();
}

cv::Mat ExitIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    canvas.Box(4, 3, 20, 29, Colour(120, 75, 40));
    canvas.Polygon({{4, 3}, {15, 7}, {15, 31}, {4, 29}}, Colour(190, 130, 70));
    canvas.Disc({12.5, 18}, 1.2, Colour(250, 220, 90), 0.6);
    const cv::Scalar green = Colour(46, 160, 70);
    canvas.Polygon(
        {{14, 13.5}, {22, 13.5}, {22, 8.5}, {30.5, 17}, {22, 25.5}, {22, 20.5}, {14, 20.5}}, green);
    return canvas.Reduced();
}

cv::Mat SelectIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    canvas.Polygon({{5, 2}, {18, 2}, {24, 8}, {24, 29}, {5, 29}}, kWhite);
    canvas.Polygon({{18, 2}, {18, 8}, {24, 8}}, Colour(205, 210, 220));
    for (double y = 12; y < 26; y += 4)
        canvas.Line({8, y}, {16, y}, Colour(150, 160, 175), 1.2);
    canvas.Line({21, 21}, {29, 29.5}, Colour(90, 60, 40), 3.4);
    canvas.Disc({17.5, 17.5}, 6.5, Colour(170, 215, 250), 0);
    canvas.Arc({17.5, 17.5}, {6.5, 6.5}, 0, 360, Colour(30, 90, 170), 2.4);
    return canvas.Reduced();
}

cv::Mat FolderIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    canvas.Polygon({{2, 7}, {11, 7}, {14, 10}, {29, 10}, {29, 27}, {2, 27}}, Colour(214, 150, 40));
    canvas.Polygon({{2, 27}, {6, 14}, {31, 14}, {28, 27}}, Colour(250, 204, 90));
    return canvas.Reduced();
}

cv::Mat WebIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    const cv::Point2d centre(16, 16);
    canvas.Disc(centre, 13, Colour(30, 136, 229), 1.4);
    const cv::Scalar line = Colour(225, 240, 255);
    canvas.Arc(centre, {5.5, 13}, 0, 360, line, 1.3);
    canvas.Line({16, 3}, {16, 29}, line, 1.3);
    canvas.Line({3, 16}, {29, 16}, line, 1.3);
    canvas.Line({5.5, 9.5}, {26.5, 9.5}, line, 1.3);
    canvas.Line({5.5, 22.5}, {26.5, 22.5}, line, 1.3);
    canvas.Arc(centre, {13, 13}, 0, 360, kOutline, 1.4);
    return canvas.Reduced();
}

cv::Mat OptionsIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    const cv::Point2d centre(16, 16);
    constexpr int kTeeth = 8;
    std::vector<cv::Point2d> wheel;
    for (int tooth = 0; tooth < kTeeth; ++tooth) {
        const double middle = 2 * kPi * tooth / kTeeth;
        for (const auto& [offset, radius] : {std::pair{-0.42, 10.0}, std::pair{-0.22, 14.0},
                                             std::pair{0.22, 14.0}, std::pair{0.42, 10.0}})
            wheel.push_back(centre +
                            cv::Point2d(std::cos(middle + offset), std::sin(middle + offset)) *
                                radius);
    }
    canvas.Polygon(wheel, Colour(120, 135, 150), 1.4);
    canvas.Disc(centre, 4.2, kWhite, 1.4);
    return canvas.Reduced();
}

cv::Mat PlayIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    canvas.Polygon({{8, 4}, {28, 16}, {8, 28}}, Colour(46, 170, 70), 1.6);
    return canvas.Reduced();
}

cv::Mat StopIcon()
{
    Canvas canvas(kIconSize, kIconSize);
    canvas.Box(6, 6, 26, 26, Colour(60, 72, 90), 1.6);
    return canvas.Reduced();
}

// A film strip of four frames, each a scene with a face; opaque, as bitmaps are.
cv::Mat Banner()
{
    constexpr int kWidth = 160;
    constexpr int kHeight = 40;
    Canvas canvas(kWidth, kHeight);
    canvas.Box(0, 0, kWidth, kHeight, Colour(36, 40, 52), 0);
    for (double x = 3; x < kWidth; x += 8) {
        canvas.Box(x, 2, x + 4, 5, Colour(230, 230, 235), 0);
        canvas.Box(x, 35, x + 4, 38, Colour(230, 230, 235), 0);
    }
    const cv::Scalar scenes[] = {Colour(120, 200, 110), Colour(110, 190, 240), Colour(250, 160, 80),
                                 Colour(180, 140, 230)};
    for (int frame = 0; frame < 4; ++frame) {
        const double left = 4 + frame * 39;
        canvas.Box(left, 8, left + 35, 32, scenes[frame], 0);
        canvas.Polygon({{left + 10, 32}, {left + 17.5, 24}, {left + 25, 32}}, Colour(60, 70, 160),
                       0);
        Face(canvas, {left + 17.5, 18}, 6.5);
    }
    cv::Mat banner = canvas.Reduced();
    cv::Mat opaque;
    cv::cvtColor(banner, opaque, cv::COLOR_BGRA2BGR);
    return opaque;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeArt <folder>\n");
        return 2;
    }
    const struct {
        const char* name;
        cv::Mat (*draw)();
    } pictures[] = {
        {"Tavrino.png", &MainIcon}, {"Create.png", &CreateIcon},   {"Edit.png", &EditIcon},
        {"Exit.png", &ExitIcon},    {"Select.png", &SelectIcon},   {"Folder.png", &FolderIcon},
        {"Web.png", &WebIcon},      {"Options.png", &OptionsIcon}, {"Play.png", &PlayIcon},
        {"Stop.png", &StopIcon},    {"Banner.png", &Banner},
    };
    int failures = 0;
    for (const auto& picture : pictures) {
        const std::string path = std::string(argv[1]) + "/" + picture.name;
        if (!cv::imwrite(path, picture.draw())) {
            std::fprintf(stderr, "MakeArt: could not write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
