#pragma once
// The paths the program derives from its own executable's path.
#include <string>

namespace tessera {

struct ProgramPaths {
    std::string exeDir;         // the executable's folder, with its trailing backslash
    std::string iniFileName;    // the executable's path with ".INI" for its extension
    std::string indexFileName;  // the executable's path with ".FIC" for its extension
    std::string storeDir;       // exeDir + "Clipboard", no trailing backslash
    // The search's cache: the items' texts, made again from the item files whenever it is lost.
    std::string searchCacheFileName;  // the executable's path with ".SCH" for its extension
};

ProgramPaths ComputeProgramPaths(const std::string& exePath);

// The path with its extension (from the last "." of the file name on) replaced by `ext`, or
// with `ext` added when the file name has none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// The folder part of a path, up to and with its last "\" or ":"; empty when there is none.
std::string ExtractFilePath(const std::string& path);

}  // namespace tessera
