// Loading bitmap resources by name.
#include "app/Resources.h"

#include <cstdint>

#include "base/Error.h"

namespace velkar {

namespace {

std::int32_t ReadInt32(const std::string& data, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(data[offset + static_cast<std::size_t>(i)]);
  return static_cast<std::int32_t>(value);
}

}  // namespace

TBitmap LoadBitmapResource(const std::string& name) {
  for (const EmbeddedResource& resource : EmbeddedResources()) {
    if (name != resource.name) continue;
    TBitmap bitmap;
    bitmap.Name = name;
    bitmap.Data.assign(reinterpret_cast<const char*>(resource.data), resource.size);
    if (bitmap.Data.size() < 54 || bitmap.Data.compare(0, 2, "BM") != 0)
      Fail("Zasób %s programu nie jest obrazem", name);
    bitmap.Width = ReadInt32(bitmap.Data, 18);
    bitmap.Height = ReadInt32(bitmap.Data, 22);
    if (bitmap.Height < 0) bitmap.Height = -bitmap.Height;
    return bitmap;
  }
  Fail("Brak zasobu %s w programie", name);
}

}  // namespace velkar
