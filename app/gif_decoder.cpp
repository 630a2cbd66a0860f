#include "app/gif_decoder.h"

#include <algorithm>
#include <array>

namespace fernwick {
namespace {

// Reads a byte string front to back and never past its end: every read checks first.
class Reader {
  public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool has(std::size_t n) const { return size_ - pos_ >= n; }
    std::size_t pos() const { return pos_; }
    const unsigned char* here() const { return data_ + pos_; }
    void skip(std::size_t n) { pos_ += n; }        // only after has(n)
    std::uint8_t byte() { return data_[pos_++]; }  // only after has(1)
    std::uint16_t word() {                         // little-endian; only after has(2)
        std::uint16_t value = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return value;
    }

  private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

using Palette = std::array<std::uint32_t, 256>;  // 0xAARRGGBB for each index

// Reads a colour table of `entries` entries into `palette`; the indices beyond it stay opaque
// black, which is what a pixel with an index the table does not have shows.
bool readColourTable(Reader& in, int entries, Palette& palette) {
    if (!in.has(static_cast<std::size_t>(entries) * 3)) return false;
    palette.fill(0xFF000000u);
    for (int i = 0; i < entries; ++i) {
        const std::uint32_t r = in.byte(), g = in.byte(), b = in.byte();
        palette[static_cast<std::size_t>(i)] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    return true;
}

// Skips a chain of data sub-blocks up to and including its zero-length terminator.
bool skipSubBlocks(Reader& in) {
    for (;;) {
        if (!in.has(1)) return false;
        const std::size_t length = in.byte();
        if (length == 0) return true;
        if (!in.has(length)) return false;
        in.skip(length);
    }
}

// Puts decoded colour indices onto the screen in the frame's row order, clipping to the screen.
class FrameWriter {
  public:
    FrameWriter(DecodedImage& image, const Palette& palette, int left, int top, int width,
                int height, bool interlaced)
        : image_(image),
          palette_(palette),
          left_(left),
          top_(top),
          width_(width),
          height_(height),
          interlaced_(interlaced) {
        startRow();
    }

    bool full() const { return rowsDone_ >= height_; }

    // Writes up to n indices; those beyond the end of the frame are dropped.
    void write(const std::uint8_t* indices, std::size_t n) {
        while (n > 0 && !full()) {
            const int take = static_cast<int>(std::min<std::size_t>(n, width_ - x_));
            // The part of these indices that lands on the screen: columns left_ + x_ onwards.
            const int visible = std::min(take, image_.width - (left_ + x_));
            if (screenRow_ != nullptr && visible > 0) {
                std::uint32_t* to = screenRow_ + left_ + x_;
                for (int i = 0; i < visible; ++i) to[i] = palette_[indices[i]];
            }
            x_ += take;
            indices += take;
            n -= static_cast<std::size_t>(take);
            if (x_ == width_) nextRow();
        }
    }

  private:
    void nextRow() {
        x_ = 0;
        ++rowsDone_;
        if (full()) return;
        if (!interlaced_) {
            ++row_;
        } else {
            // Rows 0, 8, 16...; then 4, 12...; then 2, 6, 10...; then 1, 3, 5...
            static constexpr int kStart[4] = {0, 4, 2, 1};
            static constexpr int kStep[4] = {8, 8, 4, 2};
            row_ += kStep[pass_];
            while (row_ >= height_ && pass_ < 3) {
                ++pass_;
                row_ = kStart[pass_];
            }
        }
        startRow();
    }

    void startRow() {
        const int y = top_ + row_;
        screenRow_ = row_ < height_ && y < image_.height
                         ? image_.pixels.data() +
                               static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.width)
                         : nullptr;
    }

    DecodedImage& image_;
    const Palette& palette_;
    const int left_, top_, width_, height_;
    const bool interlaced_;
    int x_ = 0;     // in the frame
    int row_ = 0;   // in the frame
    int pass_ = 0;  // interlaced only
    int rowsDone_ = 0;
    std::uint32_t* screenRow_ = nullptr;  // the screen row of row_, or nullptr when off screen
};

// Decodes the LZW code stream `codes` into `out` until the frame is full. Returns the failure
// reason, or nullptr when the frame was filled.
const char* decodeLzw(const std::vector<std::uint8_t>& codes, int minCodeSize, FrameWriter& out) {
    constexpr int kMaxCodes = 4096;
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;

    // Each code stands for its prefix code's indices plus one last index.
    std::array<std::uint16_t, kMaxCodes> prefixOf;
    std::array<std::uint8_t, kMaxCodes> suffixOf;
    std::array<std::uint16_t, kMaxCodes> lengthOf;
    for (int c = 0; c < clear; ++c) {
        prefixOf[c] = 0;
        suffixOf[c] = static_cast<std::uint8_t>(c);
        lengthOf[c] = 1;
    }
    std::array<std::uint8_t, kMaxCodes> run;  // the indices of one code, in order

    int codeSize = minCodeSize + 1;
    int next = end + 1;
    int previous = -1;  // -1: just after a clear code (or at the start)

    std::uint32_t bits = 0;
    int bitCount = 0;
    std::size_t pos = 0;
    const std::size_t size = codes.size();

    while (!out.full()) {
        while (bitCount < codeSize) {
            if (pos == size) return "the image data ends before the frame is filled";
            bits |= static_cast<std::uint32_t>(codes[pos++]) << bitCount;
            bitCount += 8;
        }
        const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;

        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) return "the image data ends before the frame is filled";

        if (previous < 0) {
            if (code >= clear) return "bad LZW code";
            const std::uint8_t index = static_cast<std::uint8_t>(code);
            out.write(&index, 1);
            previous = code;
            continue;
        }

        int length;
        if (code < next) {
            length = lengthOf[code];
            int c = code;
            for (int i = length - 1; i >= 0; --i) {
                run[i] = suffixOf[c];
                c = prefixOf[c];
            }
        } else if (code == next && next < kMaxCodes) {
            // The code being defined: the previous string plus its own first index.
            length = lengthOf[previous] + 1;
            int c = previous;
            for (int i = length - 2; i >= 0; --i) {
                run[i] = suffixOf[c];
                c = prefixOf[c];
            }
            run[length - 1] = run[0];
        } else {
            return "bad LZW code";
        }
        out.write(run.data(), static_cast<std::size_t>(length));

        if (next < kMaxCodes) {
            prefixOf[next] = static_cast<std::uint16_t>(previous);
            suffixOf[next] = run[0];
            lengthOf[next] = static_cast<std::uint16_t>(lengthOf[previous] + 1);
            ++next;
            if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        previous = code;
    }
    return nullptr;
}

const char* decode(const unsigned char* data, std::size_t size, DecodedImage& image) {
    if (data == nullptr) return "no data";
    Reader in(data, size);

    // Header and logical screen descriptor.
    if (!in.has(13)) return "too short to be a GIF file";
    const unsigned char* sig = in.here();
    if (sig[0] != 'G' || sig[1] != 'I' || sig[2] != 'F' || sig[3] != '8' ||
        (sig[4] != '7' && sig[4] != '9') || sig[5] != 'a') {
        return "not a GIF file";
    }
    in.skip(6);
    const int screenWidth = in.word();
    const int screenHeight = in.word();
    const std::uint8_t screenFlags = in.byte();
    in.skip(2);  // background colour index, pixel aspect ratio
    if (screenWidth == 0 || screenHeight == 0 || screenWidth > kMaxGifSide ||
        screenHeight > kMaxGifSide) {
        return "the logical screen's size is 0 or too large";
    }

    Palette globalPalette;
    const bool hasGlobal = (screenFlags & 0x80) != 0;
    if (hasGlobal && !readColourTable(in, 2 << (screenFlags & 7), globalPalette)) {
        return "the file ends inside the global colour table";
    }

    // Blocks up to the first image descriptor. Only the last graphic control extension before it
    // counts for the first frame.
    bool hasTransparency = false;
    int transparentIndex = 0;
    for (;;) {
        if (!in.has(1)) return "the file ends before the first frame";
        const std::uint8_t introducer = in.byte();
        if (introducer == 0x2C) break;
        if (introducer == 0x3B) return "the file has no frame";
        if (introducer != 0x21) return "unknown block before the first frame";
        if (!in.has(1)) return "the file ends inside an extension";
        const std::uint8_t label = in.byte();
        if (label == 0xF9 && in.has(5) && in.here()[0] >= 4) {
            const unsigned char* gce = in.here() + 1;
            hasTransparency = (gce[0] & 0x01) != 0;
            transparentIndex = gce[3];
        }
        if (!skipSubBlocks(in)) return "the file ends inside an extension";
    }

    // The first frame's image descriptor.
    if (!in.has(9)) return "the file ends inside the image descriptor";
    const int left = in.word();
    const int top = in.word();
    const int frameWidth = in.word();
    const int frameHeight = in.word();
    const std::uint8_t frameFlags = in.byte();
    if (frameWidth == 0 || frameHeight == 0 || frameWidth > kMaxGifSide ||
        frameHeight > kMaxGifSide) {
        return "the frame's size is 0 or too large";
    }
    Palette palette;
    if ((frameFlags & 0x80) != 0) {
        if (!readColourTable(in, 2 << (frameFlags & 7), palette)) {
            return "the file ends inside the local colour table";
        }
    } else if (hasGlobal) {
        palette = globalPalette;
    } else {
        return "the frame has no colour table";
    }
    if (hasTransparency) palette[static_cast<std::size_t>(transparentIndex)] = 0;
    const bool interlaced = (frameFlags & 0x40) != 0;

    if (!in.has(1)) return "the file ends before the image data";
    const int minCodeSize = in.byte();
    if (minCodeSize < 2 || minCodeSize > 8) return "LZW minimum code size out of range";

    // Gather the image data's sub-blocks into one code stream.
    std::vector<std::uint8_t> codes;
    const std::size_t dataStart = in.pos();
    if (!skipSubBlocks(in)) return "the file ends inside the image data";
    codes.reserve(in.pos() - dataStart);
    {
        Reader blocks(data + dataStart, in.pos() - dataStart);
        for (std::size_t length = blocks.byte(); length != 0; length = blocks.byte()) {
            codes.insert(codes.end(), blocks.here(), blocks.here() + length);
            blocks.skip(length);
        }
    }

    // A code yields at most 4096 indices: refuse a frame the data cannot fill before allocating
    // the screen, so a few bytes cannot ask for many megabytes.
    const std::uint64_t maxCodes = codes.size() * 8u / static_cast<unsigned>(minCodeSize + 1);
    if (maxCodes * 4096u < static_cast<std::uint64_t>(frameWidth) * frameHeight) {
        return "the image data ends before the frame is filled";
    }

    image.width = screenWidth;
    image.height = screenHeight;
    image.pixels.assign(static_cast<std::size_t>(screenWidth) * screenHeight, 0u);
    FrameWriter writer(image, palette, left, top, frameWidth, frameHeight, interlaced);
    return decodeLzw(codes, minCodeSize, writer);
}

}  // namespace

std::optional<DecodedImage> decodeFirstGifFrame(const unsigned char* data, std::size_t size,
                                                std::string* error) {
    DecodedImage image;
    if (const char* reason = decode(data, size, image)) {
        if (error != nullptr) *error = reason;
        return std::nullopt;
    }
    if (error != nullptr) error->clear();
    return image;
}

}  // namespace fernwick
