// The program's version block and its text ("ver 1.4.2 build 89").
//
// The build embeds a small block in the executable, in the section ".velkar_version" (found
// through the ELF section table; other files are searched piece by piece): a tag, the
// signature 0xFEEF04BD and the file version as two 32-bit words (major.minor, release.build),
// little-endian.
#pragma once

#include <cstdint>
#include <string>

namespace velkar {

// The bytes of a version block, as the build embeds it (used by tests and the build).
std::string MakeVersionBlock(std::uint16_t major, std::uint16_t minor, std::uint16_t release, std::uint16_t build);

// "ver %d.%d.%d build %d" of the file's version block. Never fails: an unreadable file
// or a file without a block gives "GetFileVersionInfo failed: (%d) %s" with the system
// error code and text; a block without the fixed version part gives "".
std::string FileVersionText(const std::string& fileName);

// The running executable's full path.
std::string RunningExecutablePath();

}  // namespace velkar
