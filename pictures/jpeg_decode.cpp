#include "pictures/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace averlune {
namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf resume;
};

// libjpeg's own handler ends the process; a picture from the cabinet must never do that.
[[noreturn]] void leaveDecoder(j_common_ptr decoder) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(decoder->err)->resume, 1);
}

void stayQuiet(j_common_ptr) {}

// Everything with a destructor lives outside the function that calls setjmp, so a longjmp out of
// libjpeg skips no destructor.
bool decodeInto(std::string_view bytes, Picture& picture, jpeg_decompress_struct& decoder, ErrorTrap& trap) {
  if (setjmp(trap.resume)) return false;
  jpeg_mem_src(&decoder, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&decoder, TRUE) != JPEG_HEADER_OK) return false;
  // Refused before libjpeg sizes its own buffers for the picture, which grow with it too.
  if (!pictureFitsMemoryBound(decoder.image_width, decoder.image_height)) return false;
  decoder.out_color_space = JCS_RGB;
  jpeg_start_decompress(&decoder);
  if (decoder.output_components != 3) return false;
  if (!allocatePicture(picture, static_cast<int>(decoder.output_width), static_cast<int>(decoder.output_height))) {
    return false;
  }
  while (decoder.output_scanline < decoder.output_height) {
    JSAMPROW row = &picture.rgb[static_cast<std::size_t>(decoder.output_scanline) * picture.width * 3];
    if (jpeg_read_scanlines(&decoder, &row, 1) != 1) return false;
  }
  jpeg_finish_decompress(&decoder);
  return true;
}

}  // namespace

bool decodeJpeg(std::string_view bytes, Picture& picture) {
  picture = Picture{};
  if (bytes.empty()) return false;
  jpeg_decompress_struct decoder{};
  ErrorTrap trap{};
  decoder.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = leaveDecoder;
  trap.manager.output_message = stayQuiet;
  jpeg_create_decompress(&decoder);
  // libjpeg's whole-picture buffers (progressive and multi-scan pictures) stay within the same
  // bound; asking for more ends the decoding through the error trap.
  decoder.mem->max_memory_to_use = static_cast<long>(kPictureMemoryBound);
  const bool decoded = decodeInto(bytes, picture, decoder, trap);
  jpeg_destroy_decompress(&decoder);
  if (!decoded) picture = Picture{};
  return decoded;
}

}  // namespace averlune
