#pragma once
// A decoded picture in memory, the bound on its size, and its scaling to the fixed sizes the
// wizard and the uninstaller show.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace averlune {

// A picture's pixel bytes. They are had without exceptions, so that memory the address space
// cannot give makes a picture unreadable instead of ending the program; the programs carry no
// exception machinery for this one case.
class PictureBytes {
 public:
  // `size` zero bytes; false, and empty, when the memory cannot be had.
  bool allocate(std::size_t size);

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::uint8_t& operator[](std::size_t at) { return bytes_[at]; }
  const std::uint8_t& operator[](std::size_t at) const { return bytes_[at]; }
  const std::uint8_t* begin() const { return bytes_.get(); }
  const std::uint8_t* end() const { return bytes_.get() + size_; }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
};

// 24-bit colour, rows top first, three bytes a pixel in the order red, green, blue, no padding.
struct Picture {
  int width = 0;
  int height = 0;
  PictureBytes rgb;
};

// The most memory one decoded picture may take. Pictures come from the configuration cabinet and
// may state any size; one that would need more counts as unreadable, so that a setup never asks a
// 32-bit address space for hundreds of megabytes it may not get. 128 MiB holds any screen-sized
// picture and a 40-megapixel photograph. A picture file larger than this is read no further and
// counts as unreadable alike.
constexpr std::size_t kPictureMemoryBound = std::size_t{128} << 20;

// True when width and height are both positive and their 24-bit picture fits kPictureMemoryBound.
bool pictureFitsMemoryBound(std::int64_t width, std::int64_t height);

// Makes `picture` a black width x height picture. False, with `picture` empty, when the size is
// not positive, does not fit kPictureMemoryBound, or the memory cannot be had: decoders call this
// before they write a pixel, so no picture can end the process by its size.
bool allocatePicture(Picture& picture, int width, int height);

// `source` stretched or shrunk to exactly width x height, without keeping its aspect ratio: each
// target pixel is the average of the source pixels it covers (at least the nearest one). An empty
// source or size gives an empty picture.
Picture scalePicture(const Picture& source, int width, int height);

}  // namespace averlune
