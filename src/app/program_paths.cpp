#include "app/program_paths.h"

namespace tessera {
namespace {

bool IsDelimiter(char c) { return c == '\\' || c == '/' || c == ':'; }

}  // namespace

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    for (size_t i = path.size(); i-- > 0;) {
        if (IsDelimiter(path[i])) break;
        if (path[i] == '.') return path.substr(0, i) + ext;
    }
    return path + ext;
}

std::string ExtractFilePath(const std::string& path) {
    for (size_t i = path.size(); i-- > 0;)
        if (IsDelimiter(path[i])) return path.substr(0, i + 1);
    return {};
}

ProgramPaths ComputeProgramPaths(const std::string& exePath) {
    ProgramPaths p;
    p.exeDir = ExtractFilePath(exePath);
    p.iniFileName = ChangeFileExt(exePath, ".INI");
    p.indexFileName = ChangeFileExt(exePath, ".FIC");
    p.searchCacheFileName = ChangeFileExt(exePath, ".SCH");
    p.storeDir = p.exeDir + "Clipboard";
    return p;
}

}  // namespace tessera
