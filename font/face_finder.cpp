#include "font/face_finder.h"

#include "common/workbench_error.h"
#include "font/face_aliases.h"

#include <algorithm>
#include <tuple>

namespace lumivert {
namespace {

using PatternPtr = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

std::string stringOf(const FcPattern* pattern, const char* object, int n = 0) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || value == nullptr) {
        return {};
    }
    return reinterpret_cast<const char*>(value);
}

bool sameFamily(const std::string& a, const std::string& b) {
    return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(a.c_str()),
                              reinterpret_cast<const FcChar8*>(b.c_str())) == 0;
}

// The families a search pattern asks for in earnest: the name itself and what aliases
// put in its place. Generic families added behind them ("serif", "sans-serif" and what
// they stand for) are weakly bound and do not count.
std::vector<std::string> requestedFamilies(const FcPattern* pattern) {
    std::vector<std::string> families;
    FcValue value;
    FcValueBinding binding = FcValueBindingWeak;
    for (int n = 0;
         FcPatternGetWithBinding(pattern, FC_FAMILY, n, &value, &binding) == FcResultMatch; ++n) {
        if (value.type == FcTypeString && binding != FcValueBindingWeak) {
            families.emplace_back(reinterpret_cast<const char*>(value.u.s));
        }
    }
    return families;
}

bool isRequested(const FcPattern* font, const std::vector<std::string>& requested) {
    for (int n = 0;; ++n) {
        const std::string family = stringOf(font, FC_FAMILY, n);
        if (family.empty()) {
            return false;
        }
        if (std::any_of(requested.begin(), requested.end(),
                        [&](const std::string& name) { return sameFamily(name, family); })) {
            return true;
        }
    }
}

FaceFile fileOf(const FcPattern* font) {
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    return {stringOf(font, FC_FILE), index, stringOf(font, FC_FAMILY)};
}

bool isScalable(const FcPattern* font) {
    FcBool scalable = FcTrue;
    FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
    return scalable == FcTrue;
}

} // namespace

FaceChoice::FaceChoice(std::vector<Entry> entries, std::shared_ptr<void> keepAlive)
    : entries_(std::move(entries)), keepAlive_(std::move(keepAlive)) {}

bool FaceChoice::covers(std::size_t entry, char32_t codePoint) const {
    const FcCharSet* characters = entries_[entry].characters;
    return characters != nullptr && FcCharSetHasChar(characters, codePoint) == FcTrue;
}

FaceFinder& FaceFinder::instance() {
    static FaceFinder finder;
    return finder;
}

FaceFinder::FaceFinder() : config_(FcInitLoadConfig()) {
    if (config_ == nullptr) {
        throw WorkbenchError("The font configuration of the system cannot be loaded.");
    }
    const auto* aliases = reinterpret_cast<const FcChar8*>(kFaceAliases);
    if (FcConfigParseAndLoadFromMemory(config_, aliases, FcTrue) != FcTrue ||
        FcConfigBuildFonts(config_) != FcTrue) {
        FcConfigDestroy(config_);
        throw WorkbenchError("The font configuration cannot be loaded.");
    }
}

FaceFinder::~FaceFinder() {
    found_.clear();
    FcConfigDestroy(config_);
}

std::shared_ptr<const FaceChoice> FaceFinder::find(const std::string& family) {
    const std::lock_guard lock(mutex_);
    if (const auto known = found_.find(family); known != found_.end()) {
        return known->second;
    }
    auto choice = search(family, false);
    found_.emplace(family, choice);
    return choice;
}

std::shared_ptr<const FaceChoice> FaceFinder::search(const std::string& family, bool standIn) {
    PatternPtr pattern(FcPatternCreate(), FcPatternDestroy);
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(config_, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    std::shared_ptr<FcFontSet> sorted(FcFontSort(config_, pattern.get(), FcTrue, nullptr, &result),
                                      [](FcFontSet* set) {
                                          if (set != nullptr) {
                                              FcFontSetDestroy(set);
                                          }
                                      });
    if (!sorted || sorted->nfont == 0) {
        throw WorkbenchError("No font is installed.");
    }
    if (!standIn && !isRequested(sorted->fonts[0], requestedFamilies(pattern.get()))) {
        const std::string fallback(kDefaultChineseFace);
        if (family != fallback) {
            return search(fallback, true);
        }
    }

    std::vector<FaceChoice::Entry> entries;
    std::vector<std::string> bitmapFaces; // family and style of each, all its files in one entry
    for (int i = 0; i < sorted->nfont; ++i) {
        const FcPattern* font = sorted->fonts[i];
        FaceFile file = fileOf(font);
        if (file.path.empty()) {
            continue;
        }
        FcCharSet* characters = nullptr;
        FcPatternGetCharSet(font, FC_CHARSET, 0, &characters);
        std::vector<FaceFile> otherFiles;
        if (!isScalable(font)) {
            const std::string face = file.family + "\n" + stringOf(font, FC_STYLE);
            if (std::find(bitmapFaces.begin(), bitmapFaces.end(), face) != bitmapFaces.end()) {
                continue;
            }
            bitmapFaces.push_back(face);
            otherFiles = otherStrikes(font);
        }
        entries.push_back({std::move(file), characters, std::move(otherFiles)});
    }
    if (entries.empty()) {
        throw WorkbenchError("No font is installed.");
    }
    return std::make_shared<const FaceChoice>(std::move(entries), sorted);
}

// The sorted list keeps only the files that add characters, so the other sizes of a bitmap
// face are listed on their own.
std::vector<FaceFile> FaceFinder::otherStrikes(const FcPattern* font) {
    const FaceFile own = fileOf(font);
    PatternPtr pattern(FcPatternCreate(), FcPatternDestroy);
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(own.family.c_str()));
    const std::string style = stringOf(font, FC_STYLE);
    if (!style.empty()) {
        FcPatternAddString(pattern.get(), FC_STYLE,
                           reinterpret_cast<const FcChar8*>(style.c_str()));
    }
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcFalse);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, nullptr), FcObjectSetDestroy);
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> listed(
        FcFontList(config_, pattern.get(), objects.get()), FcFontSetDestroy);
    std::vector<FaceFile> files;
    for (int i = 0; listed && i < listed->nfont; ++i) {
        FaceFile file = fileOf(listed->fonts[i]);
        if (!file.path.empty() && (file.path != own.path || file.index != own.index)) {
            files.push_back(std::move(file));
        }
    }
    std::sort(files.begin(), files.end(), [](const FaceFile& a, const FaceFile& b) {
        return std::tie(a.path, a.index) < std::tie(b.path, b.index);
    });
    return files;
}

} // namespace lumivert
