#pragma once

#include <cstdint>
#include <cstring>

// Eight pixels of one colour of Channels bytes, as the Channels 8-byte words they fill, so
// that a run of that colour is matched or written eight pixels at a time. The pictures'
// flat areas make such runs the common case. A block of eight pixels always starts on a
// pixel, so its words are the same wherever in a row it lies.
template <int Channels>
class ColourBlock {
public:
    static std::uint64_t Load8(const std::uint8_t* bytes)
    {
        std::uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }

    void Set(const std::uint8_t* colour)
    {
        std::uint8_t bytes[8 * Channels];
        for (int i = 0; i < 8 * Channels; ++i)
            bytes[i] = colour[i % Channels];
        std::memcpy(words_, bytes, sizeof words_);
        std::memcpy(colour_, colour, Channels);
    }
    // Whether the block was last set to this colour.
    bool Is(const std::uint8_t* colour) const
    {
        return std::memcmp(colour_, colour, Channels) == 0;
    }
    // Whether the eight pixels from pixels on all have the block's colour.
    bool Matches(const std::uint8_t* pixels) const
    {
        for (int w = 0; w < Channels; ++w) {
            if (Load8(pixels + 8 * w) != words_[w])
                return false;
        }
        return true;
    }
    // Gives the eight pixels from pixels on the block's colour.
    void Write(std::uint8_t* pixels) const { std::memcpy(pixels, words_, sizeof words_); }

private:
    std::uint64_t words_[Channels] = {};
    std::uint8_t colour_[Channels] = {};
};
