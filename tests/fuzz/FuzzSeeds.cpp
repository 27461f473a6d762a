#include "FuzzSeeds.h"

#include "FuzzTargets.h"

#include "platform/av/AviWriter.h"
#include "platform/av/StreamFormatPtr.h"
#include "tools/SampleAudio.h"

#include <opencv2/imgcodecs.hpp>

#include <initializer_list>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

void Append(Bytes& to, std::initializer_list<int> bytes)
{
    for (const int b : bytes)
        to.push_back(static_cast<std::uint8_t>(b));
}

void AppendLittleEndian(Bytes& to, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendBigEndian(Bytes& to, std::uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<FuzzSeed> ProfileFiles()
{
    return {
        {"creator-project.avp",
         FromText("[VideoProject]\r\nBackground=C:\\Tavrino\\Background\\Garden.jpg\r\n"
                  "FaceImage=FaceImage\\Face.bmp\r\nVideoTemplate=\"VideoTemplate/Dancer.avi\"\r\n"
                  "Audio=Audio\\Melody.mid\r\nVideo=Video\\Sample.avi\r\n"
                  "AudioCompression=PCM\r\nVideoCompression=(No Compression)\r\n"
                  "AudioDelay=5000\r\nFaceSize=120\r\n")},
        {"editor-project.avp",
         FromText("\xEF\xBB\xBF; template editor\n[Tab]\nTab=1\n\n[AVI to Files]\n"
                  "Input = ' padded ' \nPrefix=Frame\n[Files to AVI]\nRate=0x1.8p3\n"
                  "Start=1e999\nEnd=-.5e-3\n[tab]\nTab=2\n")},
    };
}

// The write target's input: what to do (0 writes, 2 removes the key, 3 the section), then
// section, key and value each ended by 0xFF, then the file.
Bytes WriteRequest(int operation, std::string_view section, std::string_view key,
                   std::string_view value, const Bytes& file)
{
    Bytes request{static_cast<std::uint8_t>(operation)};
    for (const std::string_view part : {section, key, value}) {
        request.insert(request.end(), part.begin(), part.end());
        request.push_back(0xFF);
    }
    request.insert(request.end(), file.begin(), file.end());
    return request;
}

std::vector<FuzzSeed> ProfileWrites()
{
    const Bytes project = ProfileFiles()[0].bytes;
    const Bytes editor = ProfileFiles()[1].bytes;
    return {
        {"replace", WriteRequest(0, "VideoProject", "AudioDelay", "2500", project)},
        {"add-key", WriteRequest(0, "videoproject", "Caption", "  Happy birthday  ", project)},
        {"add-section", WriteRequest(0, "Files to AVI", "Output", "\"out.avi\"", editor)},
        {"new-file", WriteRequest(0, "Tab", "Tab", "0", {})},
        {"remove-key", WriteRequest(2, "VideoProject", "FaceSize", "", project)},
        {"remove-section", WriteRequest(3, "tab", "", "", editor)},
    };
}

Bytes MidiHeader(int format, int tracks, int division)
{
    Bytes header = FromText("MThd");
    AppendBigEndian(header, 6, 4);
    AppendBigEndian(header, static_cast<std::uint32_t>(format), 2);
    AppendBigEndian(header, static_cast<std::uint32_t>(tracks), 2);
    AppendBigEndian(header, static_cast<std::uint32_t>(division), 2);
    return header;
}

Bytes MidiTrack(const Bytes& events)
{
    Bytes track = FromText("MTrk");
    AppendBigEndian(track, static_cast<std::uint32_t>(events.size()), 4);
    track.insert(track.end(), events.begin(), events.end());
    return track;
}

std::vector<FuzzSeed> MidiFiles()
{
    Bytes events;
    Append(events, {0x00, 0x90, 60,   100,  0x60, 62,   100,  0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42,
                    0x40, 0x81, 0x40, 0x80, 60,   0,    0x00, 0xF0, 0x03, 0x7E, 0x09, 0xF7, 0x00,
                    0xF7, 0x02, 0xF3, 0x01, 0x00, 0xC0, 5,    0x60, 0xFF, 0x2F, 0x00});
    Bytes formatZero = MidiHeader(0, 1, 96);
    const Bytes track = MidiTrack(events);
    formatZero.insert(formatZero.end(), track.begin(), track.end());
    Bytes smpte = MidiHeader(0, 1, 0xE728);
    smpte.insert(smpte.end(), track.begin(), track.end());
    return {{"melody.mid", MelodyMidi()}, {"format-0.mid", formatZero}, {"smpte.mid", smpte}};
}

// A short AVI file as the creator's output graph writes one, read back whole.
Bytes WrittenAvi(std::string_view name, bool midi)
{
    const std::string path = WriteScratchFile(name, {});
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    if (!writer)
        return {};
    const int video = writer->AddStream(av::RawVideoFormat(8, 6, 5), &error);
    const int audio =
        writer->AddStream(midi ? av::MidiFormat() : av::PcmAudioFormat(8000, 1), &error);
    const Bytes frame(8 * 6 * 3, 90);
    const Bytes sound = midi ? Bytes{0x90, 60, 100} : Bytes(1600, 0);
    const av::MediaTime fifth = av::kMediaTimePerSecond / 5;
    for (int i = 0; i < 2; ++i) {
        writer->Write(video, frame.data(), frame.size(), i * fifth, (i + 1) * fifth, true, &error);
        writer->Write(audio, sound.data(), sound.size(), i * fifth, (i + 1) * fifth, true, &error);
    }
    writer->Finish(&error);
    return ReadFileBytes(path);
}

// A RIFF WAVE file of a few samples of 8-bit mono PCM.
Bytes ShortWave()
{
    const Bytes samples = {128, 160, 192, 160, 128, 96, 64, 96};
    Bytes wave = FromText("RIFF");
    AppendLittleEndian(wave, static_cast<std::uint32_t>(36 + samples.size()), 4);
    wave.insert(wave.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    AppendLittleEndian(wave, 16, 4);
    AppendLittleEndian(wave, 1, 2);     // PCM
    AppendLittleEndian(wave, 1, 2);     // mono
    AppendLittleEndian(wave, 8000, 4);  // samples a second
    AppendLittleEndian(wave, 8000, 4);  // bytes a second
    AppendLittleEndian(wave, 1, 2);     // block
    AppendLittleEndian(wave, 8, 2);     // bits
    wave.insert(wave.end(), {'d', 'a', 't', 'a'});
    AppendLittleEndian(wave, static_cast<std::uint32_t>(samples.size()), 4);
    wave.insert(wave.end(), samples.begin(), samples.end());
    return wave;
}

Bytes Encoded(const char* extension, const cv::Mat& picture)
{
    Bytes bytes;
    cv::imencode(extension, picture, bytes);
    return bytes;
}

std::vector<FuzzSeed> Pictures()
{
    cv::Mat colour(6, 8, CV_8UC3);
    cv::randu(colour, 0, 256);
    cv::Mat grey(5, 7, CV_8UC1, cv::Scalar(70));
    cv::Mat alpha(4, 3, CV_8UC4, cv::Scalar(10, 20, 30, 128));
    cv::Mat deep(2, 2, CV_16UC3, cv::Scalar(257 * 40, 257 * 50, 257 * 60));
    return {
        {"colour.bmp", Encoded(".bmp", colour)}, {"grey.bmp", Encoded(".bmp", grey)},
        {"colour.jpg", Encoded(".jpg", colour)}, {"grey.jpg", Encoded(".jpg", grey)},
        {"colour.png", Encoded(".png", colour)}, {"alpha.png", Encoded(".png", alpha)},
        {"deep.png", Encoded(".png", deep)},
    };
}

}  // namespace

std::vector<FuzzSeed> SeedsFor(std::string_view target)
{
    if (target == "profile_read")
        return ProfileFiles();
    if (target == "profile_write")
        return ProfileWrites();
    if (target == "midi_file")
        return MidiFiles();
    if (target == "avi_audio_start")
        return {{"pcm.avi", WrittenAvi("seed-pcm.avi", false)},
                {"midi.avi", WrittenAvi("seed-midi.avi", true)}};
    if (target == "picture_load")
        return Pictures();
    if (target == "media_probe")
        return {{"pcm.avi", WrittenAvi("seed-pcm.avi", false)},
                {"midi.avi", WrittenAvi("seed-midi.avi", true)},
                {"short.wav", ShortWave()},
                {"melody.mid", MelodyMidi()},
                {"subtitles.txt", FromText("[0][10]one\n[10][20]two\n[20][]three\n")}};
    return {};
}
