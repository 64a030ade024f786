// The registry over INI settings files, one file per key (the layout is described in
// platform/registry.h). A key's values are read through QSettings once and kept, with the
// file's identity and times, until the file changes: opening a known key then costs a stat.
// (QSettings keeps its own copy of each file and reads it again when its size or its
// modification time, to the millisecond, differs.)
#include "platform/registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
struct Value {
    QString name; // as the file spells it
    uint32_t type;
    QByteArray bytes;
};

// A key's values as read from its file, and what identifies that version of the file.
struct Snapshot {
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified, changed;
    std::vector<Value> values;
};

bool sameFile(const Snapshot& s, const struct stat& st) {
    return s.device == st.st_dev && s.inode == st.st_ino && s.size == st.st_size &&
           s.modified.tv_sec == st.st_mtim.tv_sec && s.modified.tv_nsec == st.st_mtim.tv_nsec &&
           s.changed.tv_sec == st.st_ctim.tv_sec && s.changed.tv_nsec == st.st_ctim.tv_nsec;
}

std::map<QString, std::shared_ptr<const Snapshot>> gSnapshots; // by file name
} // namespace

struct PlatformRegistryKey {
    std::shared_ptr<const Snapshot> snapshot;
    QString writeFile; // keys from createRegistryKey: the file values are written to
};

namespace {
// A number as the file keeps it: "dword:" and one to eight hex digits, nothing else. True with
// the number in *value (when given).
bool readDword(const QString& text, uint32_t* value) {
    static const QLatin1String kPrefix("dword:");
    if (!text.startsWith(kPrefix) || text.size() == kPrefix.size() ||
        text.size() > kPrefix.size() + 8)
        return false;
    uint32_t number = 0;
    for (qsizetype i = kPrefix.size(); i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        int d = c >= u'0' && c <= u'9'   ? c - u'0'
                : c >= u'a' && c <= u'f' ? c - u'a' + 10
                : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                         : -1;
        if (d < 0) return false;
        number = number << 4 | uint32_t(d);
    }
    if (value) *value = number;
    return true;
}

// The key's file, or an empty string when the path cannot name one.
QString keyFile(const char16_t* path, const QString& folder) {
    if (!path || !*path || folder.isEmpty()) return {};
    QStringList parts = QString::fromUtf16(path).toLower().split(QLatin1Char('\\'));
    if (parts.size() > 1 && parts.front() == QLatin1String("software")) parts.pop_front();
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..") ||
            part.contains(QLatin1Char('/')))
            return {};
    }
    return folder + QLatin1Char('/') + parts.join(QLatin1Char('/')) + QStringLiteral(".ini");
}

// The last key path opened and its file, so that a key opened again and again (the maker key,
// at every weekly-lesson query) is not worked out each time.
struct LastKey {
    std::u16string path;
    QString folder, file;
    QByteArray encoded; // the file name for the system
};
LastKey gLastKey;

const LastKey& lookUpKey(const char16_t* path) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!path || gLastKey.path != path || gLastKey.folder != folder) {
        QString file = keyFile(path, folder);
        gLastKey = {path ? path : u"", folder, file, QFile::encodeName(file)};
    }
    return gLastKey;
}

// Why the key's file at `file` may not be read or replaced, or null when it may: it is absent,
// a regular file or a link to one. A pipe would block its reader for ever, and a save renames
// its new file over whatever the name leads to, so anything else (a pipe, a device, a folder,
// a link to one of them or to nothing) is left alone.
const char* unusableKeyFile(const QByteArray& file) {
    struct stat st;
    if (::lstat(file.constData(), &st) != 0) return nullptr;
    if (S_ISLNK(st.st_mode) && ::stat(file.constData(), &st) != 0)
        return "the settings file is a link to nothing";
    return S_ISREG(st.st_mode) ? nullptr : "the settings file is not a regular file";
}

// Why the key's file could not be written, found by writing a file of its size and a little
// more beside it: the system's reason (a full disk, a read-only folder, ...), or, when that
// works, that the file itself cannot be read or written. The text stays until the next call.
const char* writeFailure(const QString& file) {
    static std::string reason;
    QByteArray name = QFile::encodeName(file);
    QByteArray probe = name + ".probe" + QByteArray::number(qint64(::getpid()));
    struct stat st {};
    size_t size = ::stat(name.constData(), &st) == 0 ? size_t(st.st_size) + 4096 : 4096;
    int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    int problem = fd < 0 ? errno : 0;
    std::string zeros(size, '\0');
    for (size_t done = 0; !problem && done < size;) {
        ssize_t n = ::write(fd, zeros.data() + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) problem = n < 0 ? errno : ENOSPC;
        done += n > 0 ? size_t(n) : 0;
    }
    if (!problem && ::fsync(fd) != 0) problem = errno;
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.constData());
    }
    if (problem) {
        reason = std::string("the settings folder: ") + std::strerror(problem);
        return reason.c_str();
    }
    return ::access(name.constData(), R_OK) == 0 || errno == ENOENT ? "the file cannot be written"
                                                                    : "the file cannot be read";
}

// A value's type and bytes from its stored form.
Value storedValue(const QString& name, const QVariant& stored) {
    if (stored.typeId() == QMetaType::QByteArray)
        return {name, RegistryBinary, stored.toByteArray()};
    // Unquoted text with commas reads back as a list; it was one string.
    QString text = stored.typeId() == QMetaType::QStringList
                       ? stored.toStringList().join(QStringLiteral(", "))
                       : stored.toString();
    uint32_t value = 0;
    if (readDword(text, &value)) {
        return {name, RegistryNumber,
                QByteArray(reinterpret_cast<const char*>(&value), sizeof value)};
    }
    // UTF-16 units and the terminating 0.
    return {name, RegistryString,
            QByteArray(reinterpret_cast<const char*>(text.utf16()),
                       qsizetype((text.size() + 1) * sizeof(char16_t)))};
}

std::shared_ptr<const Snapshot> readKeyFile(const QString& file, const struct stat& st) {
    if (!QFileInfo(file).isReadable()) return nullptr;
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return nullptr;
    auto snapshot = std::make_shared<Snapshot>(
        Snapshot{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim, {}});
    for (const QString& name : settings.childKeys())
        snapshot->values.push_back(storedValue(name, settings.value(name)));
    return snapshot;
}
} // namespace

RegistryKey openRegistryKey(uint32_t root, const char16_t* path) {
    if (root != kCurrentUser) return nullptr;
    const LastKey& key = lookUpKey(path);
    struct stat st;
    if (key.file.isEmpty() || ::stat(key.encoded.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr;
    auto& cached = gSnapshots[key.file];
    if (!cached || !sameFile(*cached, st)) cached = readKeyFile(key.file, st);
    return cached ? new PlatformRegistryKey{cached, {}} : nullptr;
}

int queryRegistryValue(RegistryKey key, const char16_t* name, uint32_t* type, uint8_t* data,
                       uint32_t* size) {
    if (!key || !name) return RegistryMissing;
    QString wanted = QString::fromUtf16(name);
    for (const Value& value : key->snapshot->values) {
        if (value.name.compare(wanted, Qt::CaseInsensitive) != 0) continue;
        if (type) *type = value.type;
        uint32_t needed = uint32_t(value.bytes.size());
        if (data) {
            if (!size || needed > *size) {
                if (size) *size = needed;
                return RegistryMoreData;
            }
            std::memcpy(data, value.bytes.constData(), needed);
        }
        if (size) *size = needed;
        return RegistryOk;
    }
    return RegistryMissing;
}

RegistryKey createRegistryKey(uint32_t root, const char16_t* path) {
    if (root != kCurrentUser) return nullptr;
    const LastKey& key = lookUpKey(path);
    if (key.file.isEmpty()) return nullptr;
    if (!QDir().mkpath(QFileInfo(key.file).absolutePath())) return nullptr;
    RegistryKey opened = openRegistryKey(root, path);
    if (!opened) opened = new PlatformRegistryKey{std::make_shared<Snapshot>(), {}};
    opened->writeFile = key.file;
    return opened;
}

namespace {
// The stored form of one value, or an invalid QVariant when the value is refused.
bool storedForm(const RegistryValue& v, QVariant& stored) {
    if (!v.name || !*v.name || (!v.data && v.size)) return false;
    switch (v.type) {
    case RegistryRemove:
        stored = QVariant();
        return true;
    case RegistryNumber: {
        if (v.size != 4) return false;
        uint32_t value;
        std::memcpy(&value, v.data, 4);
        stored = QStringLiteral("dword:%1").arg(value, 8, 16, QLatin1Char('0'));
        return true;
    }
    case RegistryString: {
        qsizetype units = qsizetype(v.size / sizeof(char16_t));
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(v.data), units);
        if (text.endsWith(QChar(0))) text.chop(1);
        if (readDword(text, nullptr)) return false;
        stored = text;
        return true;
    }
    default:
        stored = QByteArray(reinterpret_cast<const char*>(v.data), qsizetype(v.size));
        return true;
    }
}

// QSettings guards its writes with a lock file that names its holder. A writer killed between
// making that file and naming itself leaves it empty, and QSettings would wait half a minute
// for it to grow old. An empty lock that stays empty for a moment has no live holder: remove it.
void clearNamelessLock(const QString& file) {
    QByteArray lock = QFile::encodeName(file + QStringLiteral(".lock"));
    for (int waited = 0; waited < 100; waited += 20) {
        struct stat st;
        if (::stat(lock.constData(), &st) != 0 || st.st_size != 0) return;
        ::usleep(20 * 1000);
    }
    ::unlink(lock.constData());
}
} // namespace

int setRegistryValues(RegistryKey key, const RegistryValue* values, size_t count,
                      const char** error) {
    auto refuse = [error](const char* why) {
        if (error) *error = why;
        return int(RegistryMissing);
    };
    if (!key || key->writeFile.isEmpty()) return refuse("the key is not open for writing");
    if (count && !values) return refuse("no values");
    if (const char* why = unusableKeyFile(QFile::encodeName(key->writeFile))) return refuse(why);
    std::vector<QVariant> stored(count);
    for (size_t i = 0; i < count; ++i) {
        if (!storedForm(values[i], stored[i])) return refuse("a value does not fit its type");
    }
    // QSettings keeps every change in memory and writes them in one go at sync(), through a
    // temporary file renamed over the old one.
    clearNamelessLock(key->writeFile);
    QSettings settings(key->writeFile, QSettings::IniFormat);
    // QSettings takes a lock file beside the file as it opens: a full disk or a read-only folder
    // already shows here.
    if (settings.status() != QSettings::NoError) return refuse(writeFailure(key->writeFile));
    QStringList existing = settings.childKeys();
    for (size_t i = 0; i < count; ++i) {
        // The registry ignores letter case: write over the spelling the file already has.
        QString spelled = QString::fromUtf16(values[i].name);
        for (const QString& name : existing) {
            if (name.compare(spelled, Qt::CaseInsensitive) == 0) spelled = name;
        }
        // A value the file holds already is left alone: a write that changes nothing leaves
        // the file as it is (QSettings writes only what was set).
        if (values[i].type == RegistryRemove) {
            if (settings.contains(spelled)) settings.remove(spelled);
        } else if (settings.value(spelled) != stored[i]) {
            settings.setValue(spelled, stored[i]);
        }
    }
    settings.sync();
    if (settings.status() != QSettings::NoError) return refuse(writeFailure(key->writeFile));
    return RegistryOk;
}

int setRegistryValue(RegistryKey key, const char16_t* name, uint32_t type, const uint8_t* data,
                     uint32_t size) {
    if (type == RegistryRemove) return RegistryMissing;
    RegistryValue value{name, type, data, size};
    return setRegistryValues(key, &value, 1);
}

const char* registryKeyProblem(uint32_t root, const char16_t* path) {
    if (root != kCurrentUser) return nullptr;
    const LastKey& key = lookUpKey(path);
    return key.file.isEmpty() ? nullptr : unusableKeyFile(key.encoded);
}

void closeRegistryKey(RegistryKey key) {
    delete key;
}
