#pragma once
// Pictures read back from clip item files, for the chooser's preview and for pasting.
#include <optional>
#include <string_view>

#include "win/picture.h"

namespace tessera {

// The picture that `bytes` hold, of the kind the file name's extension names (letter case
// ignored): ".bmp" a bitmap with its palette, ".wmf" a Windows metafile with or without its
// placeable header (held as an enhanced metafile), ".emf" an enhanced metafile. Nothing when the
// extension is none of these or the bytes are not a whole picture of that kind.
std::optional<win::Picture> PictureFromFileBytes(std::string_view fileName, std::string_view bytes);

}  // namespace tessera
