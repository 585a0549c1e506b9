// The layout of decoded Shift-JIS text in the viewer, and the guess of how to read a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "display/surface.h"

// Text for the layout, whole or decoded piece by piece as the layout asks for more, so
// that decoding stops where drawing stops.
class LazyText {
 public:
  // Appends the next piece to the string; false once nothing is left.
  using Producer = std::function<bool(std::string&)>;

  // Text that is all there already (not copied: it must outlive this object).
  explicit LazyText(std::string_view whole) : data_(whole), ended_(true) {}
  explicit LazyText(Producer producer) : producer_(std::move(producer)) {}

  // The byte at i, or -1 when the text ends before i.
  int At(size_t i) {
    if (i < data_.size())
      return static_cast<unsigned char>(data_[i]);
    return Fetch(i);
  }
  // How many bytes have been produced so far.
  size_t Produced() const { return data_.size(); }

 private:
  int Fetch(size_t i);

  std::string_view data_;
  std::string buffer_;
  Producer producer_;
  bool ended_ = false;
};

// What a layout leaves behind for the buttons.
struct LayoutResult {
  bool more = false;  // stopped at the bottom edge with text left (DOWN enabled)
  enum class Up { kKeep, kDisable, kEnable } up = Up::kKeep;
};

// Clears nothing: draws the text from its first byte on at (1, 1), skipping first_line
// logical lines (each ended by CR, which takes the byte after it along), wrapping when
// fewer than 12 dots are left on a line and stopping at the bottom edge. A NUL or the
// end of the text ends it. Lead bytes (0x81-0x9F, 0xE0-0xEA) take the next byte as their
// trail byte whatever it is (a NUL past the end).
LayoutResult LayOutText(LazyText& text, int32_t first_line, Surface& surface);

// The reading a text asks for: 2 (JIS) at an ESC, 3 (S-JIS) at a lead byte, whichever
// comes first; 1 (romaji) when neither occurs.
int DetectCode(const unsigned char* text, size_t length);
