#pragma once
// Files and folders: where the program lives, paths, whole-file reads and writes, and saving a
// data file so that a crash or a failed write never leaves it half-written.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace tw {

// Full path of the running executable, and its folder (no trailing separator).
std::wstring ModulePath();
std::wstring ModuleFolder();

// folder + "\" + name, without doubling a separator; either part may be empty.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
// The folder part of path (no trailing separator), empty when path has none.
std::wstring ParentFolder(const std::wstring& path);

bool FileExists(const std::wstring& path);    // a file, not a folder
bool FolderExists(const std::wstring& path);  // a folder, not a file
// Creates every missing folder of path, outermost first; true when path is a folder afterwards.
bool CreateDirectories(const std::wstring& path);

bool ReadWholeFile(const std::wstring& path, std::string& out);
// Writes in place (creating or truncating); for data files use SaveFileAtomically.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);
// Writes everything to an open file handle.
bool WriteAll(HANDLE file, const void* data, size_t size);

// Saves path through a new temporary file in the same folder: writer fills the file (open for
// writing), the file is flushed to disk and then replaces path in one step. On any failure
// (writer returns false or throws, flush or replace fails) path is left untouched and the
// temporary file is removed; exceptions from writer go on to the caller after that.
bool SaveFileAtomically(const std::wstring& path, const std::function<bool(HANDLE file)>& writer);
bool SaveFileAtomically(const std::wstring& path, std::string_view bytes);
// The same for writers that save to a path themselves (the XML document's Save): save
// receives the temporary path to write.
bool SaveFileAtomicallyVia(const std::wstring& path,
                           const std::function<bool(const std::wstring& tempPath)>& save);

// Renames a damaged file to path + ".damaged-YYYYMMDD-HHMMSS" (local time; "-2", "-3", … when
// that name is taken) and returns the new name, or empty when it cannot be moved.
std::wstring MoveAside(const std::wstring& path);

}  // namespace tw
