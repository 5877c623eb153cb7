#pragma once

#include <fontconfig/fontconfig.h>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumivert {

// One installed face: a font file and the index of the face inside it (.ttc collections
// hold several).
struct FaceFile {
    std::string path;
    int index = 0;
    std::string family; // UTF-8
};

// The faces a face name stands for, best first: the face itself (or the face its alias
// names), then the installed faces that cover characters it lacks.
class FaceChoice {
public:
    struct Entry {
        FaceFile file;
        const FcCharSet* characters; // owned by the choice
        // A face made of bitmap strikes alone may spread its sizes over several files: the
        // other files of its family and style, each a face of its own strikes.
        std::vector<FaceFile> otherStrikes;
    };

    FaceChoice(std::vector<Entry> entries, std::shared_ptr<void> keepAlive);

    const std::vector<Entry>& entries() const { return entries_; }
    const FaceFile& chosen() const { return entries_.front().file; }

    // Whether entry `entry` has the character.
    bool covers(std::size_t entry, char32_t codePoint) const;

private:
    std::vector<Entry> entries_;
    std::shared_ptr<void> keepAlive_;
};

// Finds faces by name through fontconfig, with the system's configuration and the
// project's alias file over it. One per process; the names it has resolved are kept, so
// a name costs one fontconfig search for the whole run.
class FaceFinder {
public:
    // The face name whose faces stand in for a name that resolves to nothing.
    static constexpr std::string_view kDefaultChineseFace = "宋体";

    static FaceFinder& instance();

    ~FaceFinder();
    FaceFinder(const FaceFinder&) = delete;
    FaceFinder& operator=(const FaceFinder&) = delete;

    // The faces for a face name (UTF-8). Throws WorkbenchError when no face is installed.
    std::shared_ptr<const FaceChoice> find(const std::string& family);

private:
    FaceFinder();
    // `standIn`: the search is for the face that stands in for a name that resolved to
    // nothing, and takes what it finds.
    std::shared_ptr<const FaceChoice> search(const std::string& family, bool standIn);
    // The files of a face of bitmaps alone other than `font`'s own: same family and style.
    std::vector<FaceFile> otherStrikes(const FcPattern* font);

    FcConfig* config_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::shared_ptr<const FaceChoice>> found_;
};

} // namespace lumivert
