// Resources compiled into the program (bitmaps of the windows), and the image lists
// built from them.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace velkar {

struct EmbeddedResource {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};

std::span<const EmbeddedResource> EmbeddedResources();

// A bitmap resource: the bytes of a Windows BMP file, checked on loading.
struct TBitmap {
  std::string Name;
  std::string Data;
  int Width = 0;
  int Height = 0;
  bool Transparent = false;
};

struct TImageList {
  std::vector<TBitmap> Images;
};

// Loads a bitmap resource by name; throws velkar::Error when there is none or its
// content is not a bitmap.
TBitmap LoadBitmapResource(const std::string& name);

}  // namespace velkar
