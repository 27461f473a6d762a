#include "media/image/FloodFill.h"

#include <gtest/gtest.h>

namespace {

cv::Mat FillMaskFor(const cv::Mat& picture)
{
    return cv::Mat::zeros(picture.rows + 2, picture.cols + 2, CV_8UC1);
}

}  // namespace

TEST(FloodFillMaskOnly, TakesTheFixedRangeAroundTheSeedAndLeavesThePictureAlone)
{
    // A ramp of 5 per column: a floating range would walk along it, a fixed one stops.
    cv::Mat picture(3, 8, CV_8UC3);
    for (int x = 0; x < 8; ++x)
        picture.col(x).setTo(cv::Scalar(100 + 5 * x, 50, 7));
    const cv::Mat before = picture.clone();
    cv::Mat mask = FillMaskFor(picture);
    const ConnectedComponent c = FloodFillMaskOnly(picture, cv::Point(2, 1), 10, 5, mask);
    EXPECT_EQ(c.area, 12);  // seed 110: columns 0 to 3, 100..115, lie in [100, 115]
    EXPECT_EQ(c.rect, cv::Rect(0, 0, 4, 3));
    EXPECT_DOUBLE_EQ(c.value[0], 107.5);
    EXPECT_DOUBLE_EQ(c.value[1], 50);
    EXPECT_DOUBLE_EQ(c.value[2], 7);
    EXPECT_DOUBLE_EQ(c.value[3], 0);
    EXPECT_EQ(cv::norm(picture, before, cv::NORM_INF), 0);
    EXPECT_EQ(mask.at<uchar>(2, 4), 1);
    EXPECT_EQ(mask.at<uchar>(2, 5), 0);
    // The ring is set all round.
    EXPECT_EQ(cv::countNonZero(mask.row(0)), mask.cols);
    EXPECT_EQ(cv::countNonZero(mask.col(mask.cols - 1)), mask.rows);
}

TEST(FloodFillMaskOnly, IsFourConnectedAndBlockedByMarkedBytes)
{
    cv::Mat picture(5, 5, CV_8UC1, cv::Scalar(200));
    picture.at<uchar>(1, 1) = 0;
    picture.at<uchar>(2, 2) = 0;  // diagonal neighbour of (1, 1) only
    cv::Mat mask = FillMaskFor(picture);
    EXPECT_EQ(FloodFillMaskOnly(picture, cv::Point(1, 1), 0, 0, mask).area, 1);

    cv::Mat blocked = FillMaskFor(picture);
    blocked.row(3).setTo(1);  // picture row 2 is a wall
    const ConnectedComponent c = FloodFillMaskOnly(picture, cv::Point(0, 0), 0, 0, blocked);
    EXPECT_EQ(c.area, 9);  // rows 0 and 1 less pixel (1, 1)
    EXPECT_EQ(c.rect, cv::Rect(0, 0, 5, 2));
}

TEST(FloodFillMaskOnly, TakesNothingWhenTheSeedIsMarkedOrOutside)
{
    cv::Mat picture(4, 4, CV_8UC3, cv::Scalar(1, 2, 3));
    cv::Mat mask = FillMaskFor(picture);
    mask.at<uchar>(2, 2) = 5;
    const ConnectedComponent c = FloodFillMaskOnly(picture, cv::Point(1, 1), 10, 10, mask);
    EXPECT_EQ(c.area, 0);
    EXPECT_EQ(c.rect, cv::Rect());
    EXPECT_EQ(cv::countNonZero(mask(cv::Rect(1, 1, 4, 4))), 1);
    EXPECT_EQ(FloodFillMaskOnly(picture, cv::Point(4, 0), 10, 10, mask).area, 0);
    cv::Mat wrongSize = cv::Mat::zeros(5, 5, CV_8UC1);
    EXPECT_EQ(FloodFillMaskOnly(picture, cv::Point(0, 0), 10, 10, wrongSize).area, 0);
}

TEST(FloodFillMaskOnly, LeavesTheRingWhenAsked)
{
    cv::Mat picture(2, 2, CV_8UC1, cv::Scalar(9));
    cv::Mat mask = FillMaskFor(picture);
    EXPECT_EQ(FloodFillMaskOnly(picture, cv::Point(0, 0), 0, 0, mask, FillMaskRing::Leave).area, 4);
    EXPECT_EQ(cv::countNonZero(mask), 4);
}

TEST(FloodFillValue, RepaintsTheEqualComponent)
{
    cv::Mat image(4, 6, CV_8UC1, cv::Scalar(1));
    image.col(3).setTo(2);  // splits the picture
    const ConnectedComponent c = FloodFillValue(image, cv::Point(5, 0), 0);
    EXPECT_EQ(c.area, 8);
    EXPECT_EQ(c.rect, cv::Rect(4, 0, 2, 4));
    EXPECT_EQ(c.value[0], 0);
    EXPECT_EQ(cv::countNonZero(image.colRange(4, 6)), 0);
    EXPECT_EQ(cv::countNonZero(image.colRange(0, 3) == 1), 12);
}

TEST(FloodFillValue, ReportsTheComponentWhenTheValueDoesNotChange)
{
    cv::Mat image(3, 3, CV_8UC1, cv::Scalar(4));
    image.at<uchar>(1, 1) = 5;
    const ConnectedComponent c = FloodFillValue(image, cv::Point(0, 0), 4);
    EXPECT_EQ(c.area, 8);
    EXPECT_EQ(c.rect, cv::Rect(0, 0, 3, 3));
    EXPECT_EQ(image.at<uchar>(1, 1), 5);
}
