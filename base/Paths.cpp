// Path helpers and transactional file replacement.
#include "base/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Error.h"
#include "base/Text.h"

namespace fs = std::filesystem;

namespace velkar {

std::string NativePath(std::string path) {
  for (char& c : path)
    if (c == '\\') c = kPathDelim;
  return path;
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
  if (!path.empty() && (path.back() == '/' || path.back() == '\\')) return path;
  return path + kPathDelim;
}

std::string ExtractFilePath(const std::string& path) {
  size_t pos = path.find_last_of("/\\");
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string ExtractFileDir(const std::string& path) {
  size_t pos = path.find_last_of("/\\");
  if (pos == std::string::npos) return {};
  if (pos == 0) return path.substr(0, 1);
  return path.substr(0, pos);
}

std::string ExtractFileName(const std::string& path) {
  size_t pos = path.find_last_of("/\\");
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ExtractFileExt(const std::string& path) {
  std::string name = ExtractFileName(path);
  size_t pos = name.rfind('.');
  return pos == std::string::npos ? std::string() : name.substr(pos);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  std::string name = ExtractFileName(path);
  size_t pos = name.rfind('.');
  std::string base = path.substr(0, path.size() - name.size()) + (pos == std::string::npos ? name : name.substr(0, pos));
  return base + ext;
}

std::string CurrentDir() {
  std::error_code ec;
  return fs::current_path(ec).string();
}

std::string ExpandFileName(const std::string& path) {
  if (path.empty()) return CurrentDir();
  fs::path p(NativePath(path));
  if (p.is_relative()) p = fs::path(CurrentDir()) / p;
  return p.lexically_normal().string();
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("Nie można otworzyć pliku %s", path);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) Fail("Błąd odczytu pliku %s", path);
  return buffer.str();
}

std::vector<std::string> ReadLines(const std::string& path) { return SplitLines(ReadWholeFile(path)); }

void ReplaceFileAtomically(const std::string& target, const std::function<void(const std::string&)>& write) {
  std::string folder = ExtractFilePath(target);
  std::string pattern = folder + "." + ExtractFileName(target) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) Fail("Nie można zapisać pliku %s (%s)", target, std::strerror(errno));
  ::close(fd);
  std::string temp(name.data());
  try {
    write(temp);
    // Flush the new content to the disk before it takes the place of the old file.
    int check = ::open(temp.c_str(), O_RDONLY);
    if (check < 0 || ::fsync(check) != 0) {
      int err = errno;
      if (check >= 0) ::close(check);
      Fail("Nie można zapisać pliku %s (%s)", target, std::strerror(err));
    }
    ::close(check);
    // Keep the permissions of the file being replaced (mkstemp creates 0600).
    struct stat old{};
    if (::stat(target.c_str(), &old) == 0) ::chmod(temp.c_str(), old.st_mode & 07777);
    else ::chmod(temp.c_str(), 0644 & ~[] { mode_t m = ::umask(0); ::umask(m); return m; }());
    if (std::rename(temp.c_str(), target.c_str()) != 0)
      Fail("Nie można zapisać pliku %s (%s)", target, std::strerror(errno));
  } catch (...) {
    std::remove(temp.c_str());
    throw;
  }
}

void WriteFileAtomically(const std::string& target, std::string_view content) {
  ReplaceFileAtomically(target, [&](const std::string& temp) {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) Fail("Nie można zapisać pliku %s", target);
  });
}

}  // namespace velkar
