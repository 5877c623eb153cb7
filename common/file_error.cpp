#include "common/file_error.h"

#include <cctype>
#include <cstring>

namespace lumivert {
namespace {

std::string fullPath(const std::filesystem::path& path) {
    std::error_code ignored;
    auto absolute = std::filesystem::absolute(path, ignored);
    return (absolute.empty() ? path : absolute).lexically_normal().string();
}

WorkbenchError fileError(const char* verb, const std::filesystem::path& path,
                         const std::string& reason) {
    return WorkbenchError(std::string("Cannot ") + verb + " file \"" + fullPath(path) + "\". " +
                          reason);
}

} // namespace

std::string systemReason(int systemError) {
    std::string reason = std::strerror(systemError);
    if (!reason.empty()) {
        reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
        if (reason.back() != '.') {
            reason += '.';
        }
    }
    return reason;
}

WorkbenchError cannotOpenFile(const std::filesystem::path& path, int systemError) {
    return cannotOpenFile(path, systemReason(systemError));
}

WorkbenchError cannotCreateFile(const std::filesystem::path& path, int systemError) {
    return cannotCreateFile(path, systemReason(systemError));
}

WorkbenchError cannotWriteFile(const std::filesystem::path& path, int systemError) {
    return fileError("write", path, systemReason(systemError));
}

WorkbenchError cannotOpenFile(const std::filesystem::path& path, const std::string& reason) {
    return fileError("open", path, reason);
}

WorkbenchError cannotCreateFile(const std::filesystem::path& path, const std::string& reason) {
    return fileError("create", path, reason);
}

} // namespace lumivert
