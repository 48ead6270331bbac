#include "cadsim/group4.h"

#include <cstdlib>

namespace cadsim {

namespace {

struct Code {
    uint16_t bits;
    uint8_t length;
};

// ITU-T T.4 run-length code words: terminating codes for 0 to 63, make-up
// codes for multiples of 64 up to 1728, and the make-up codes from 1792 to
// 2560 that both colours share.
constexpr Code kWhiteTerminating[64] = {
    {0x35, 8}, {0x07, 6}, {0x07, 4}, {0x08, 4}, {0x0B, 4}, {0x0C, 4}, {0x0E, 4}, {0x0F, 4},
    {0x13, 5}, {0x14, 5}, {0x07, 5}, {0x08, 5}, {0x08, 6}, {0x03, 6}, {0x34, 6}, {0x35, 6},
    {0x2A, 6}, {0x2B, 6}, {0x27, 7}, {0x0C, 7}, {0x08, 7}, {0x17, 7}, {0x03, 7}, {0x04, 7},
    {0x28, 7}, {0x2B, 7}, {0x13, 7}, {0x24, 7}, {0x18, 7}, {0x02, 8}, {0x03, 8}, {0x1A, 8},
    {0x1B, 8}, {0x12, 8}, {0x13, 8}, {0x14, 8}, {0x15, 8}, {0x16, 8}, {0x17, 8}, {0x28, 8},
    {0x29, 8}, {0x2A, 8}, {0x2B, 8}, {0x2C, 8}, {0x2D, 8}, {0x04, 8}, {0x05, 8}, {0x0A, 8},
    {0x0B, 8}, {0x52, 8}, {0x53, 8}, {0x54, 8}, {0x55, 8}, {0x24, 8}, {0x25, 8}, {0x58, 8},
    {0x59, 8}, {0x5A, 8}, {0x5B, 8}, {0x4A, 8}, {0x4B, 8}, {0x32, 8}, {0x33, 8}, {0x34, 8},
};
constexpr Code kWhiteMakeUp[27] = {
    // 64, 128, ... 1728
    {0x1B, 5}, {0x12, 5}, {0x17, 6}, {0x37, 7}, {0x36, 8}, {0x37, 8}, {0x64, 8}, {0x65, 8}, {0x68, 8},
    {0x67, 8}, {0xCC, 9}, {0xCD, 9}, {0xD2, 9}, {0xD3, 9}, {0xD4, 9}, {0xD5, 9}, {0xD6, 9}, {0xD7, 9},
    {0xD8, 9}, {0xD9, 9}, {0xDA, 9}, {0xDB, 9}, {0x98, 9}, {0x99, 9}, {0x9A, 9}, {0x18, 6}, {0x9B, 9},
};
constexpr Code kBlackTerminating[64] = {
    {0x37, 10}, {0x02, 3},  {0x03, 2},  {0x02, 2},  {0x03, 3},  {0x03, 4},  {0x02, 4},  {0x03, 5},
    {0x05, 6},  {0x04, 6},  {0x04, 7},  {0x05, 7},  {0x07, 7},  {0x04, 8},  {0x07, 8},  {0x18, 9},
    {0x17, 10}, {0x18, 10}, {0x08, 10}, {0x67, 11}, {0x68, 11}, {0x6C, 11}, {0x37, 11}, {0x28, 11},
    {0x17, 11}, {0x18, 11}, {0xCA, 12}, {0xCB, 12}, {0xCC, 12}, {0xCD, 12}, {0x68, 12}, {0x69, 12},
    {0x6A, 12}, {0x6B, 12}, {0xD2, 12}, {0xD3, 12}, {0xD4, 12}, {0xD5, 12}, {0xD6, 12}, {0xD7, 12},
    {0x6C, 12}, {0x6D, 12}, {0xDA, 12}, {0xDB, 12}, {0x54, 12}, {0x55, 12}, {0x56, 12}, {0x57, 12},
    {0x64, 12}, {0x65, 12}, {0x52, 12}, {0x53, 12}, {0x24, 12}, {0x37, 12}, {0x38, 12}, {0x27, 12},
    {0x28, 12}, {0x58, 12}, {0x59, 12}, {0x2B, 12}, {0x2C, 12}, {0x5A, 12}, {0x66, 12}, {0x67, 12},
};
constexpr Code kBlackMakeUp[27] = {
    {0x0F, 10}, {0xC8, 12}, {0xC9, 12}, {0x5B, 12}, {0x33, 12}, {0x34, 12}, {0x35, 12},
    {0x6C, 13}, {0x6D, 13}, {0x4A, 13}, {0x4B, 13}, {0x4C, 13}, {0x4D, 13}, {0x72, 13},
    {0x73, 13}, {0x74, 13}, {0x75, 13}, {0x76, 13}, {0x77, 13}, {0x52, 13}, {0x53, 13},
    {0x54, 13}, {0x55, 13}, {0x5A, 13}, {0x5B, 13}, {0x64, 13}, {0x65, 13},
};
constexpr Code kSharedMakeUp[13] = {
    // 1792, 1856, ... 2560
    {0x08, 11}, {0x0C, 11}, {0x0D, 11}, {0x12, 12}, {0x13, 12}, {0x14, 12}, {0x15, 12},
    {0x16, 12}, {0x17, 12}, {0x1C, 12}, {0x1D, 12}, {0x1E, 12}, {0x1F, 12},
};

constexpr Code kPass{0x1, 4};
constexpr Code kHorizontal{0x1, 3};
constexpr Code kVertical[7] = {
    // a1 - b1 = -3 ... 3
    {0x02, 7}, {0x02, 6}, {0x02, 3}, {0x01, 1}, {0x03, 3}, {0x03, 6}, {0x03, 7},
};
constexpr Code kEol{0x001, 12};

// Positions past the last change read as the row's end.
void terminate(std::vector<int>& changes, int width)
{
    for (int i = 0; i < 3; ++i)
        changes.push_back(width);
}

}  // namespace

Group4Encoder::Group4Encoder(int width) : width_(width) {}

void Group4Encoder::beginStrip()
{
    out_.clear();
    bits_ = 0;
    count_ = 0;
    reference_.clear();
    terminate(reference_, width_);
}

void Group4Encoder::put(uint32_t code, int length)
{
    bits_ = (bits_ << length) | code;
    count_ += length;
    while (count_ >= 8) {
        count_ -= 8;
        out_.push_back(static_cast<uint8_t>(bits_ >> count_));
    }
}

void Group4Encoder::putRun(int run, bool black)
{
    const Code* makeUp = black ? kBlackMakeUp : kWhiteMakeUp;
    while (run >= 2560 + 64) {
        put(kSharedMakeUp[12].bits, kSharedMakeUp[12].length);
        run -= 2560;
    }
    if (run >= 64) {
        const int m = run / 64;  // 1 to 40
        const Code& c = m <= 27 ? makeUp[m - 1] : kSharedMakeUp[m - 28];
        put(c.bits, c.length);
        run -= m * 64;
    }
    const Code& t = black ? kBlackTerminating[run] : kWhiteTerminating[run];
    put(t.bits, t.length);
}

void Group4Encoder::addRow(const std::vector<int>& changes)
{
    coding_.assign(changes.begin(), changes.end());
    terminate(coding_, width_);
    const int* a = coding_.data();
    const int* b = reference_.data();

    // a0 starts as an imaginary white pixel before the row; colour is a0's colour.
    int a0 = -1;
    size_t ia = 0;  // first change on the coding line right of a0
    size_t ib = 0;  // first change on the reference line right of a0
    int colour = 0;
    while (a0 < width_) {
        while (a[ia] <= a0)
            ++ia;
        while (b[ib] <= a0)
            ++ib;
        // b1 is of the opposite colour to a0: a change to black (even index)
        // while a0 is white, to white (odd index) while it is black.
        const size_t i1 = ib + ((static_cast<int>(ib & 1) != colour) ? 1 : 0);
        const int a1 = a[ia];
        const int b1 = b[i1];
        const int b2 = b[i1 + 1];
        if (b2 < a1) {
            put(kPass.bits, kPass.length);
            a0 = b2;
        } else if (std::abs(a1 - b1) <= 3) {
            const Code& v = kVertical[a1 - b1 + 3];
            put(v.bits, v.length);
            a0 = a1;
            colour ^= 1;
        } else {
            const int a2 = a[ia + 1];
            put(kHorizontal.bits, kHorizontal.length);
            putRun(a1 - (a0 < 0 ? 0 : a0), colour == 1);
            putRun(a2 - a1, colour == 0);
            a0 = a2;
        }
    }
    reference_.swap(coding_);
}

const std::vector<uint8_t>& Group4Encoder::endStrip()
{
    put(kEol.bits, kEol.length);
    put(kEol.bits, kEol.length);
    if (count_ > 0)
        put(0, 8 - count_);
    return out_;
}

}  // namespace cadsim
