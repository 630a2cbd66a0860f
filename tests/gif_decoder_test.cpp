// Tests of the GIF decoder on GIFs made here by a small test-only encoder, on malformed data, and
// on the dog picture the program ships.
#include "app/gif_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "assets/picture/dog_picture.h"

namespace fernwick {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::uint32_t;  // 0xRRGGBB

constexpr std::uint32_t kTransparent = 0;
constexpr std::uint32_t opaque(Rgb rgb) { return 0xFF000000u | rgb; }

// ---- A test-only GIF encoder ----------------------------------------------------------------

enum class Lzw {
    Literal,          // every index its own code, with a clear code before the code size would grow
    Compress,         // real LZW, a clear code when the table is full
    CompressNoClear,  // real LZW that goes on with a full table (a "deferred clear")
};

class BitWriter {
  public:
    void put(int code, int size) {
        bits_ |= static_cast<std::uint32_t>(code) << count_;
        count_ += size;
        while (count_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(bits_ & 0xFF));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    Bytes finish() {
        if (count_ > 0) out_.push_back(static_cast<std::uint8_t>(bits_ & 0xFF));
        bits_ = 0;
        count_ = 0;
        return std::move(out_);
    }

  private:
    Bytes out_;
    std::uint32_t bits_ = 0;
    int count_ = 0;
};

Bytes lzwEncode(const Bytes& indices, int minCodeSize, Lzw style) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    BitWriter out;
    int size = minCodeSize + 1;
    out.put(clear, size);
    if (style == Lzw::Literal) {
        int sinceClear = 0;
        for (std::uint8_t index : indices) {
            if (sinceClear == clear - 2) {
                out.put(clear, size);
                sinceClear = 0;
            }
            out.put(index, size);
            ++sinceClear;
        }
        out.put(end, size);
        return out.finish();
    }
    std::map<std::pair<int, int>, int> table;
    int next = end + 1;
    int prefix = -1;
    for (std::uint8_t index : indices) {
        if (prefix < 0) {
            prefix = index;
            continue;
        }
        auto found = table.find({prefix, index});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.put(prefix, size);
        if (next < 4096) {
            table[{prefix, index}] = next++;
            if (next > (1 << size) && size < 12) ++size;
        } else if (style == Lzw::Compress) {
            out.put(clear, size);
            table.clear();
            next = end + 1;
            size = minCodeSize + 1;
        }
        prefix = index;
    }
    if (prefix >= 0) out.put(prefix, size);
    out.put(end, size);
    return out.finish();
}

void put16(Bytes& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// The size field of a colour table of at least `entries` entries (2 << field entries).
int tableField(std::size_t entries) {
    int field = 0;
    while ((std::size_t{2} << field) < entries) ++field;
    return field;
}

void putTable(Bytes& out, const std::vector<Rgb>& colours) {
    const std::size_t entries = std::size_t{2} << tableField(colours.size());
    for (std::size_t i = 0; i < entries; ++i) {
        const Rgb c = i < colours.size() ? colours[i] : 0;
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c));
    }
}

void putSubBlocks(Bytes& out, const Bytes& data) {
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - i);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                   data.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    out.push_back(0);
}

// Header and logical screen; no global colour table when `global` is empty.
Bytes gifHeader(int width, int height, const std::vector<Rgb>& global, int background = 0,
                const char* version = "GIF89a") {
    Bytes out(version, version + 6);
    put16(out, width);
    put16(out, height);
    out.push_back(
        static_cast<std::uint8_t>(global.empty() ? 0x70 : 0xF0 | tableField(global.size())));
    out.push_back(static_cast<std::uint8_t>(background));
    out.push_back(0);
    if (!global.empty()) putTable(out, global);
    return out;
}

void putGce(Bytes& out, std::optional<int> transparent, int disposal = 0) {
    const Bytes gce = {0x21,
                       0xF9,
                       4,
                       static_cast<std::uint8_t>((disposal << 2) | (transparent ? 1 : 0)),
                       10,
                       0,
                       static_cast<std::uint8_t>(transparent.value_or(0)),
                       0};
    out.insert(out.end(), gce.begin(), gce.end());
}

void putComment(Bytes& out, const std::string& text) {
    out.push_back(0x21);
    out.push_back(0xFE);
    putSubBlocks(out, Bytes(text.begin(), text.end()));
}

void putLoopingApplication(Bytes& out) {
    const Bytes app = {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                       'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    out.insert(out.end(), app.begin(), app.end());
}

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    Bytes indices = {};           // row-major, top row first, whatever the interlacing
    std::vector<Rgb> local = {};  // none when empty
    bool interlaced = false;
    int minCodeSize = 0;  // 0: from the table size
    Lzw style = Lzw::Literal;
};

// Frame rows in the order an interlaced frame stores them.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
    }
    return rows;
}

void putFrame(Bytes& out, const Frame& f, std::size_t tableEntries) {
    out.push_back(0x2C);
    put16(out, f.left);
    put16(out, f.top);
    put16(out, f.width);
    put16(out, f.height);
    std::uint8_t flags = f.interlaced ? 0x40 : 0;
    if (!f.local.empty()) flags |= static_cast<std::uint8_t>(0x80 | tableField(f.local.size()));
    out.push_back(flags);
    if (!f.local.empty()) {
        putTable(out, f.local);
        tableEntries = f.local.size();
    }
    const int minCodeSize =
        f.minCodeSize ? f.minCodeSize : std::max(2, tableField(tableEntries) + 1);
    out.push_back(static_cast<std::uint8_t>(minCodeSize));
    Bytes ordered;
    for (int y : rowOrder(f.height, f.interlaced)) {
        ordered.insert(ordered.end(), f.indices.begin() + static_cast<std::ptrdiff_t>(y) * f.width,
                       f.indices.begin() + static_cast<std::ptrdiff_t>(y + 1) * f.width);
    }
    putSubBlocks(out, lzwEncode(ordered, minCodeSize, f.style));
}

std::optional<DecodedImage> decode(const Bytes& gif, std::string* error = nullptr) {
    return decodeFirstGifFrame(gif.data(), gif.size(), error);
}

// Indices 0..n-1 in a pattern that makes rows and columns distinguishable.
Bytes pattern(int width, int height, int colours, unsigned seed = 1) {
    std::mt19937 random(seed);
    Bytes out(static_cast<std::size_t>(width) * height);
    for (auto& index : out) index = static_cast<std::uint8_t>(random() % colours);
    return out;
}

const std::vector<Rgb> kFour = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// ---- Decoding well-formed files -------------------------------------------------------------

// The graphic control extension after the first frame belongs to the second: nothing transparent.
TEST(GifDecoder, AFirstFrameWithoutGraphicControlExtensionIsAllOpaque) {
    const Frame frame{.width = 4, .height = 3, .indices = {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 1, 1}};
    Bytes gif = gifHeader(4, 3, kFour);
    putComment(gif, "no transparency here");
    putFrame(gif, frame, kFour.size());
    putGce(gif, 0);
    putFrame(gif, Frame{.width = 4, .height = 3, .indices = Bytes(12, 0)}, kFour.size());
    gif.push_back(0x3B);

    std::string error;
    const auto image = decode(gif, &error);
    ASSERT_TRUE(image) << error;
    ASSERT_EQ(image->width, 4);
    ASSERT_EQ(image->height, 3);
    ASSERT_EQ(image->pixels.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(image->pixels[i], opaque(kFour[frame.indices[i]])) << "pixel " << i;
    }
}

TEST(GifDecoder, AcceptsGif87a) {
    Bytes gif = gifHeader(2, 2, kFour, 0, "GIF87a");
    putFrame(gif, Frame{.width = 2, .height = 2, .indices = {0, 1, 2, 3}}, kFour.size());
    gif.push_back(0x3B);
    const auto image = decode(gif);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(1, 1), opaque(0xFFFFFF));
}

TEST(GifDecoder, OnlyTheFirstFrameShowsWithItsOwnTransparency) {
    const Bytes first = {0, 1, 2, 3, 1, 1, 2, 2, 3, 0, 0, 1};
    Bytes gif = gifHeader(4, 3, kFour);
    putLoopingApplication(gif);
    putGce(gif, 1);
    putFrame(gif, Frame{.width = 4, .height = 3, .indices = first}, kFour.size());
    // Later frames differ and declare index 2 transparent; a comment and an application block
    // follow too. None of it may change the picture.
    putComment(gif, "later frames");
    putGce(gif, 2, 2);
    putFrame(gif, Frame{.width = 4, .height = 3, .indices = Bytes(12, 2)}, kFour.size());
    putGce(gif, 3, 1);
    putFrame(gif,
             Frame{.left = 1,
                   .top = 1,
                   .width = 2,
                   .height = 2,
                   .indices = {3, 3, 3, 3},
                   .local = {0x123456, 0x654321}},
             kFour.size());
    putLoopingApplication(gif);
    gif.push_back(0x3B);

    const auto image = decode(gif);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 4);
    ASSERT_EQ(image->height, 3);
    for (int i = 0; i < 12; ++i) {
        const std::uint32_t expected = first[i] == 1 ? kTransparent : opaque(kFour[first[i]]);
        EXPECT_EQ(image->pixels[i], expected) << "pixel " << i;
    }
}

TEST(GifDecoder, TheLastGraphicControlExtensionBeforeTheFirstFrameCounts) {
    Bytes gif = gifHeader(2, 1, kFour);
    putGce(gif, 0);
    putGce(gif, std::nullopt);  // replaces the one before: nothing transparent
    putFrame(gif, Frame{.width = 2, .height = 1, .indices = {0, 1}}, kFour.size());
    gif.push_back(0x3B);
    const auto image = decode(gif);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(0, 0), opaque(0xFF0000));
}

TEST(GifDecoder, InterlacedAndNonInterlacedFramesGiveTheSamePixels) {
    for (int height = 1; height <= 20; ++height) {
        SCOPED_TRACE("height " + std::to_string(height));
        const Bytes indices = pattern(5, height, 4, static_cast<unsigned>(height));
        DecodedImage decoded[2];
        for (int interlaced = 0; interlaced < 2; ++interlaced) {
            Bytes gif = gifHeader(5, height, kFour);
            putGce(gif, 3);
            putFrame(gif,
                     Frame{.width = 5,
                           .height = height,
                           .indices = indices,
                           .interlaced = interlaced == 1},
                     kFour.size());
            gif.push_back(0x3B);
            const auto image = decode(gif);
            ASSERT_TRUE(image);
            decoded[interlaced] = *image;
        }
        EXPECT_EQ(decoded[0].pixels, decoded[1].pixels);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < 5; ++x) {
                const int index = indices[static_cast<std::size_t>(y) * 5 + x];
                EXPECT_EQ(decoded[1].at(x, y), index == 3 ? kTransparent : opaque(kFour[index]));
            }
        }
    }
}

TEST(GifDecoder, ALocalColourTableOverridesTheGlobalOneOrStandsInForIt) {
    const std::vector<Rgb> local = {0x101010, 0x202020, 0x303030, 0x404040,
                                    0x505050, 0x606060, 0x707070, 0x808080};
    Bytes gif = gifHeader(4, 2, kFour);
    putGce(gif, 7);
    putFrame(gif,
             Frame{.width = 4, .height = 2, .indices = {0, 1, 2, 3, 4, 5, 6, 7}, .local = local},
             kFour.size());
    gif.push_back(0x3B);
    const auto image = decode(gif);
    ASSERT_TRUE(image);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(image->pixels[i], opaque(local[i]));
    EXPECT_EQ(image->pixels[7], kTransparent);

    Bytes noGlobal = gifHeader(2, 1, {});
    putFrame(noGlobal,
             Frame{.width = 2, .height = 1, .indices = {1, 0}, .local = {0xABCDEF, 0x010203}}, 0);
    noGlobal.push_back(0x3B);
    const auto localOnly = decode(noGlobal);
    ASSERT_TRUE(localOnly);
    EXPECT_EQ(localOnly->at(0, 0), opaque(0x010203));
    EXPECT_EQ(localOnly->at(1, 0), opaque(0xABCDEF));
}

TEST(GifDecoder, TheScreenOutsideASmallerFrameIsTransparent) {
    Bytes gif = gifHeader(6, 5, kFour);
    putFrame(gif,
             Frame{.left = 2, .top = 1, .width = 3, .height = 2, .indices = {0, 1, 2, 3, 0, 1}},
             kFour.size());
    gif.push_back(0x3B);
    const auto image = decode(gif);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 6);
    ASSERT_EQ(image->height, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inFrame = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(image->at(x, y) != kTransparent, inFrame) << x << "," << y;
        }
    }
    EXPECT_EQ(image->at(2, 1), opaque(0xFF0000));
    EXPECT_EQ(image->at(4, 2), opaque(0x00FF00));
}

TEST(GifDecoder, AFrameReachingPastTheScreenIsClipped) {
    Bytes gif = gifHeader(4, 4, kFour);
    putFrame(gif, Frame{.left = 2, .top = 3, .width = 5, .height = 3, .indices = pattern(5, 3, 4)},
             kFour.size());
    gif.push_back(0x3B);
    const auto image = decode(gif);
    ASSERT_TRUE(image);
    int drawn = 0;
    for (std::uint32_t pixel : image->pixels) drawn += pixel != kTransparent;
    EXPECT_EQ(drawn, 2);  // (2,3) and (3,3)

    Bytes offScreen = gifHeader(4, 4, kFour);
    putFrame(offScreen,
             Frame{.left = 9, .top = 9, .width = 2, .height = 2, .indices = {0, 1, 2, 3}},
             kFour.size());
    const auto empty = decode(offScreen);
    ASSERT_TRUE(empty);
    for (std::uint32_t pixel : empty->pixels) EXPECT_EQ(pixel, kTransparent);
}

TEST(GifDecoder, AnIndexBeyondTheColourTableIsOpaqueBlack) {
    Bytes gif = gifHeader(2, 1, {0x111111, 0x222222});
    putFrame(gif, Frame{.width = 2, .height = 1, .indices = {1, 3}, .minCodeSize = 2}, 2);
    const auto image = decode(gif);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(0, 0), opaque(0x222222));
    EXPECT_EQ(image->at(1, 0), opaque(0x000000));
}

TEST(GifDecoder, AllLzwStylesAndCodeSizesDecodeAlike) {
    std::vector<Rgb> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = static_cast<Rgb>(i * 0x010101);
    struct Case {
        int width, height, colours;
    };
    // Big noisy pictures fill the 4096-entry table many times over; flat ones make long codes.
    for (const Case& c : {Case{7, 5, 2}, Case{31, 17, 4}, Case{64, 64, 8}, Case{120, 90, 16},
                          Case{200, 150, 256}, Case{300, 40, 3}}) {
        for (Lzw style : {Lzw::Literal, Lzw::Compress, Lzw::CompressNoClear}) {
            SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " colours " +
                         std::to_string(c.colours) + " style " +
                         std::to_string(static_cast<int>(style)));
            Bytes indices = pattern(c.width, c.height, c.colours, 7);
            if (c.colours == 3) {  // long runs
                for (std::size_t i = 0; i < indices.size(); ++i) {
                    indices[i] = static_cast<std::uint8_t>((i / 97) % 3);
                }
            }
            const std::vector<Rgb> table(palette.begin(), palette.begin() + c.colours);
            Bytes gif = gifHeader(c.width, c.height, table);
            putFrame(
                gif,
                Frame{.width = c.width, .height = c.height, .indices = indices, .style = style},
                table.size());
            gif.push_back(0x3B);
            std::string error;
            const auto image = decode(gif, &error);
            ASSERT_TRUE(image) << error;
            for (std::size_t i = 0; i < indices.size(); ++i) {
                ASSERT_EQ(image->pixels[i], opaque(palette[indices[i]])) << "pixel " << i;
            }
        }
    }
}

TEST(GifDecoder, DataAfterTheFrameIsFilledIsIgnored) {
    // Two pixels, then a further literal before the end code: the frame is full after two.
    BitWriter bits;
    bits.put(4, 3);
    bits.put(1, 3);
    bits.put(2, 3);
    bits.put(3, 3);
    bits.put(5, 3);
    Bytes gif = gifHeader(2, 1, kFour);
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0, 2});
    putSubBlocks(gif, bits.finish());
    const auto image = decode(gif);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(0, 0), opaque(0x00FF00));
    EXPECT_EQ(image->at(1, 0), opaque(0x0000FF));
}

// ---- Malformed files ------------------------------------------------------------------------

// A 2 x 2 frame whose LZW data is `codes` at `sizes` bits each.
Bytes withCodes(const std::vector<std::pair<int, int>>& codes, int minCodeSize = 2) {
    BitWriter bits;
    for (auto [code, size] : codes) bits.put(code, size);
    Bytes gif = gifHeader(2, 2, kFour);
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0});
    gif.push_back(static_cast<std::uint8_t>(minCodeSize));
    putSubBlocks(gif, bits.finish());
    gif.push_back(0x3B);
    return gif;
}

TEST(GifDecoder, RejectsBadLzwCodes) {
    std::string error;
    // Sanity: clear, 0, 1, 2, 3, end; the third code defines code 7, so the size grows to 4.
    EXPECT_TRUE(decode(withCodes({{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}}), &error))
        << error;
    // The code just being defined (0, then 6 = "0 0"), then 6 again, defined by then; the frame
    // is full after four of the five indices.
    EXPECT_TRUE(decode(withCodes({{4, 3}, {0, 3}, {6, 3}, {6, 3}}), &error)) << error;
    // A code beyond the next one to be defined.
    EXPECT_FALSE(decode(withCodes({{4, 3}, {0, 3}, {7, 3}, {5, 3}}), &error));
    EXPECT_EQ(error, "bad LZW code");
    // A first code that is not an index.
    EXPECT_FALSE(decode(withCodes({{4, 3}, {6, 3}, {5, 3}}), &error));
    // The next code to be defined right after a clear code.
    EXPECT_FALSE(decode(withCodes({{0, 3}, {1, 3}, {4, 3}, {6, 3}}), &error));
    // An end code before the frame is filled.
    EXPECT_FALSE(decode(withCodes({{4, 3}, {0, 3}, {1, 3}, {5, 3}}), &error));
    // No end code and too few pixels.
    EXPECT_FALSE(decode(withCodes({{4, 3}, {0, 3}}), &error));
    // Only clear codes.
    std::vector<std::pair<int, int>> clears(500, {4, 3});
    EXPECT_FALSE(decode(withCodes(clears), &error));
}

TEST(GifDecoder, RejectsMinimumCodeSizesOutOfRange) {
    for (int size : {0, 1, 9, 12, 255}) {
        std::string error;
        EXPECT_FALSE(decode(withCodes({{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 3}}, size), &error))
            << size;
        EXPECT_EQ(error, "LZW minimum code size out of range");
    }
}

TEST(GifDecoder, RejectsZeroAndAbsurdSizes) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{0, 0}, std::pair{4097, 1},
                        std::pair{1, 65535}, std::pair{65535, 65535}}) {
        Bytes gif = gifHeader(w, h, kFour);
        putFrame(gif, Frame{.width = 1, .height = 1, .indices = {0}}, kFour.size());
        gif.push_back(0x3B);
        EXPECT_FALSE(decode(gif)) << w << "x" << h;
    }
    for (auto [w, h] :
         {std::pair{0, 1}, std::pair{1, 0}, std::pair{5000, 1}, std::pair{1, 65535}}) {
        Bytes gif = gifHeader(4, 4, kFour);
        gif.push_back(0x2C);
        put16(gif, 0);
        put16(gif, 0);
        put16(gif, w);
        put16(gif, h);
        gif.push_back(0);
        gif.push_back(2);
        putSubBlocks(gif, lzwEncode({0}, 2, Lzw::Literal));
        gif.push_back(0x3B);
        EXPECT_FALSE(decode(gif)) << "frame " << w << "x" << h;
    }
    // A large screen the data cannot fill is refused before it is allocated.
    Bytes big = gifHeader(4096, 4096, kFour);
    big.insert(big.end(), {0x2C, 0, 0, 0, 0, 0, 0x10, 0, 0x10, 0, 2, 1, 0x04, 0});
    std::string error;
    EXPECT_FALSE(decode(big, &error));
    EXPECT_EQ(error, "the image data ends before the frame is filled");
}

TEST(GifDecoder, RejectsFilesThatAreNotAPictureWithAColourTableAndAFrame) {
    const std::string text = "this is not a picture at all, it is a sentence";
    EXPECT_FALSE(decode(Bytes(text.begin(), text.end())));
    EXPECT_FALSE(decode(Bytes{'G', 'I', 'F', '8', '9', 'a'}));

    Bytes noTable = gifHeader(2, 1, {});
    putFrame(noTable, Frame{.width = 2, .height = 1, .indices = {0, 1}}, 4);
    noTable.push_back(0x3B);
    EXPECT_FALSE(decode(noTable));

    Bytes noFrame = gifHeader(2, 1, kFour);
    putComment(noFrame, "nothing");
    noFrame.push_back(0x3B);
    EXPECT_FALSE(decode(noFrame));

    Bytes unknownBlock = gifHeader(2, 1, kFour);
    unknownBlock.push_back(0x99);
    EXPECT_FALSE(decode(unknownBlock));
}

TEST(GifDecoder, RejectsEveryTruncationOfAFile) {
    Bytes gif = gifHeader(9, 7, kFour);
    putLoopingApplication(gif);
    putGce(gif, 2);
    putFrame(gif,
             Frame{.width = 9,
                   .height = 7,
                   .indices = pattern(9, 7, 4),
                   .interlaced = true,
                   .style = Lzw::Compress},
             kFour.size());
    const std::size_t frameEnd = gif.size();
    putGce(gif, 1);
    putFrame(gif, Frame{.width = 9, .height = 7, .indices = pattern(9, 7, 4, 3)}, kFour.size());
    gif.push_back(0x3B);

    ASSERT_TRUE(decode(gif));
    for (std::size_t length = 0; length < frameEnd; ++length) {
        // A copy of exactly `length` bytes, so the sanitizers see any read past the end.
        const Bytes cut(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(decodeFirstGifFrame(cut.data(), cut.size(), nullptr)) << length;
    }
    // What follows the first frame is not needed.
    for (std::size_t length = frameEnd; length <= gif.size(); ++length) {
        const Bytes cut(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_TRUE(decodeFirstGifFrame(cut.data(), cut.size(), nullptr)) << length;
    }
    EXPECT_FALSE(decodeFirstGifFrame(nullptr, 0));
    EXPECT_FALSE(decodeFirstGifFrame(nullptr, 100));
}

// Random changes to valid files must never crash or read out of bounds; whatever decodes is a
// well-formed picture.
void mutateAndDecode(const Bytes& original, int rounds, unsigned seed) {
    std::mt19937 random(seed);
    for (int round = 0; round < rounds; ++round) {
        Bytes gif = original;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            gif[random() % gif.size()] = static_cast<std::uint8_t>(random());
        }
        if (random() % 4 == 0) gif.resize(random() % gif.size());
        const auto image = decode(gif);
        if (image) {
            ASSERT_GT(image->width, 0);
            ASSERT_GT(image->height, 0);
            ASSERT_LE(image->width, kMaxGifSide);
            ASSERT_LE(image->height, kMaxGifSide);
            ASSERT_EQ(image->pixels.size(), static_cast<std::size_t>(image->width) *
                                                static_cast<std::size_t>(image->height));
            for (std::uint32_t pixel : image->pixels) {
                ASSERT_TRUE(pixel == kTransparent || (pixel >> 24) == 0xFF);
            }
        }
    }
}

TEST(GifDecoder, SurvivesRandomlyDamagedFiles) {
    Bytes gif = gifHeader(13, 11, kFour);
    putGce(gif, 1);
    putFrame(gif,
             Frame{.left = 1,
                   .top = 2,
                   .width = 10,
                   .height = 8,
                   .indices = pattern(10, 8, 8),
                   .local = {1, 2, 3, 4, 5, 6, 7, 8},
                   .interlaced = true,
                   .style = Lzw::Compress},
             4);
    putGce(gif, 0);
    putFrame(gif, Frame{.width = 13, .height = 11, .indices = pattern(13, 11, 4)}, 4);
    gif.push_back(0x3B);
    mutateAndDecode(gif, 20000, 1);
    mutateAndDecode(Bytes(fernwick_dog_gif, fernwick_dog_gif + fernwick_dog_gif_size), 300, 2);
}

// ---- The picture the program ships -----------------------------------------------------------

struct ShippedGif {
    const unsigned char* data;
    std::size_t size;
    int width, height;
};

// A GIF89a whose first frame decodes at the size the layout expects, the dog opaque in the middle
// and transparent all round it.
void checkShippedPicture(const ShippedGif& gif) {
    ASSERT_GT(gif.size, 6u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(gif.data), 6), "GIF89a");
    std::string error;
    const auto image = decodeFirstGifFrame(gif.data, gif.size, &error);
    ASSERT_TRUE(image) << error;
    ASSERT_EQ(image->width, gif.width);
    ASSERT_EQ(image->height, gif.height);
    const auto transparent = static_cast<std::size_t>(
        std::count(image->pixels.begin(), image->pixels.end(), kTransparent));
    const std::size_t drawn = image->pixels.size() - transparent;
    EXPECT_GT(transparent, image->pixels.size() / 10);
    EXPECT_GT(drawn, image->pixels.size() / 2);
    const int w = gif.width - 1, h = gif.height - 1;
    for (auto [x, y] : {std::pair{0, 0}, std::pair{w, 0}, std::pair{0, h}, std::pair{w, h}}) {
        EXPECT_EQ(image->at(x, y), kTransparent) << x << "," << y;
    }
    // The middle of the face is drawn.
    EXPECT_NE(image->at(gif.width / 2, gif.height / 2), kTransparent);
}

TEST(ShippedPicture, OneTimesDecodesTo146By153) {
    checkShippedPicture({fernwick_dog_gif, fernwick_dog_gif_size, 146, 153});
}

TEST(ShippedPicture, TwoTimesDecodesTo292By306) {
    checkShippedPicture({fernwick_dog_2x_gif, fernwick_dog_2x_gif_size, 292, 306});
}

}  // namespace
}  // namespace fernwick
