#pragma once

namespace lumivert {

// The content of font/face_aliases.conf: the fontconfig aliases of the Windows face names
// the font definitions use (宋体, SimSun, 新宋体, NSimSun).
extern const char* const kFaceAliases;

} // namespace lumivert
