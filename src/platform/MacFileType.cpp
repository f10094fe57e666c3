#include "platform/MacFileType.h"

#if defined(Q_OS_MACOS)
#include <cstring>
#include <sys/xattr.h>
#endif

void setMacFileType(const QString& path, const char* type, const char* creator) {
#if defined(Q_OS_MACOS)
    // The 32-byte Finder info: type at 0, creator at 4, the rest zero (no flags, no position).
    char info[32] = {};
    std::memcpy(info, type, 4);
    std::memcpy(info + 4, creator, 4);
    const QByteArray native = path.toUtf8();
    setxattr(native.constData(), "com.apple.FinderInfo", info, sizeof info, 0, 0);
#else
    Q_UNUSED(path);
    Q_UNUSED(type);
    Q_UNUSED(creator);
#endif
}
