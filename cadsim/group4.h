// CCITT Group 4 (T.6) coding of 1-bit rows given as their change positions,
// so a mostly white page costs time per black run, not per pixel.
#pragma once

#include <cstdint>
#include <vector>

namespace cadsim {

class Group4Encoder {
public:
    explicit Group4Encoder(int width);

    // Starts a strip: the reference line above its first row is white.
    void beginStrip();
    // One row: ascending positions where the colour flips, white first.
    void addRow(const std::vector<int>& changes);
    // Ends the strip (end-of-facsimile block, byte padding) and hands over its bytes.
    const std::vector<uint8_t>& endStrip();

private:
    void put(uint32_t code, int length);
    void putRun(int run, bool black);

    int width_;
    std::vector<int> reference_;
    std::vector<int> coding_;
    std::vector<uint8_t> out_;
    uint64_t bits_ = 0;  // pending bits, right-aligned
    int count_ = 0;
};

}  // namespace cadsim
