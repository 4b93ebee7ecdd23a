// File and folder helpers in the platform's separator, and the one safe way to replace
// a user's file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velkar {

constexpr char kPathDelim = '/';

// Accepts either separator in configuration values ("C:\Dane\" or "/srv/dane/") and
// gives the platform's one.
std::string NativePath(std::string path);
std::string IncludeTrailingPathDelimiter(const std::string& path);
std::string ExtractFileDir(const std::string& path);   // without the trailing separator
std::string ExtractFilePath(const std::string& path);  // with the trailing separator
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);   // with the dot, "" when none
std::string ChangeFileExt(const std::string& path, const std::string& ext);
std::string CurrentDir();
std::string ExpandFileName(const std::string& path);  // absolute, against the current folder

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
std::string ReadWholeFile(const std::string& path);  // throws velkar::Error
std::vector<std::string> ReadLines(const std::string& path);

// Writes a file as one transaction: `write` fills a temporary file in the target's folder,
// which then replaces the target by a rename. On any failure the temporary file is removed,
// the old target stays as it was, and a Polish error naming the file is raised.
void ReplaceFileAtomically(const std::string& target, const std::function<void(const std::string& tempPath)>& write);
void WriteFileAtomically(const std::string& target, std::string_view content);

}  // namespace velkar
