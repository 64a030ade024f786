// The clipboard over QClipboard. A session collects its changes in a QMimeData of its own and
// hands it to Qt when it closes, so the desktop sees one change per session.
#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringList>

#include <deque>

#include "platform/memory.h"

namespace {
const char16_t kRichTextName[] = u"Rich Text Format";
const char* const kRichTextTypes[] = {"text/rtf", "text/richtext", "application/rtf"};
constexpr unsigned kFirstRegistered = 0xC000;

std::vector<std::u16string> gNames; // registered names; number = kFirstRegistered + index
bool gFailOpen = false;
bool gOpen = false;
QMimeData* gPending = nullptr;     // this session's content once it was emptied or set
std::deque<QByteArray> gHandedOut; // data given out by getClipboardData, until close

QClipboard* systemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

const QMimeData* currentContent() {
    if (gPending) return gPending;
    QClipboard* clipboard = systemClipboard();
    return clipboard ? clipboard->mimeData() : nullptr;
}

unsigned richTextFormat() {
    return registerClipboardFormat(kRichTextName);
}

// The desktop type name of a registered format other than Rich Text; empty when unknown.
QString typeName(unsigned format) {
    if (format < kFirstRegistered || format - kFirstRegistered >= gNames.size()) return {};
    return QString::fromStdU16String(gNames[format - kFirstRegistered]);
}

bool isRichTextType(const QString& type) {
    for (const char* name : kRichTextTypes) {
        if (type == QLatin1String(name)) return true;
    }
    return false;
}

// The session's content, started from what the clipboard holds when it was not emptied.
QMimeData* pendingContent() {
    if (!gPending) {
        auto* copy = new QMimeData;
        if (const QMimeData* now = currentContent()) {
            for (const QString& type : now->formats())
                copy->setData(type, now->data(type));
        }
        gPending = copy;
    }
    return gPending;
}
} // namespace

unsigned registerClipboardFormat(const char16_t* name) {
    if (!name || !*name) return 0;
    for (size_t i = 0; i < gNames.size(); ++i) {
        if (gNames[i] == name) return kFirstRegistered + unsigned(i);
    }
    gNames.emplace_back(name);
    return kFirstRegistered + unsigned(gNames.size() - 1);
}

bool openClipboard(WindowHandle) {
    if (gFailOpen || gOpen || !systemClipboard()) return false;
    gOpen = true;
    return true;
}

bool closeClipboard() {
    if (!gOpen) return false;
    if (gPending) {
        QClipboard* clipboard = systemClipboard();
        if (gPending->formats().isEmpty()) {
            delete gPending;
            clipboard->clear();
        } else {
            clipboard->setMimeData(gPending); // Qt owns it from here
        }
        gPending = nullptr;
    }
    gHandedOut.clear();
    gOpen = false;
    return true;
}

bool emptyClipboard() {
    if (!gOpen) return false;
    delete gPending;
    gPending = new QMimeData;
    return true;
}

const void* getClipboardData(unsigned format, size_t* bytes) {
    if (!gOpen) return nullptr;
    const QMimeData* content = currentContent();
    if (!content) return nullptr;
    QByteArray data;
    if (format == 0 || format == ClipboardUnicodeText) {
        if (!content->hasText()) return nullptr;
        QString text = content->text();
        data = QByteArray(reinterpret_cast<const char*>(text.utf16()),
                          qsizetype(text.size()) * qsizetype(sizeof(char16_t)));
        data.append('\0').append('\0');
        if (bytes) *bytes = size_t(data.size()) - 2;
    } else {
        QString type;
        if (format == richTextFormat()) {
            for (const char* name : kRichTextTypes) {
                if (content->hasFormat(QLatin1String(name))) {
                    type = QLatin1String(name);
                    break;
                }
            }
        } else {
            type = typeName(format);
        }
        if (type.isEmpty() || !content->hasFormat(type)) return nullptr;
        data = content->data(type);
        if (bytes) *bytes = size_t(data.size());
        data.append('\0');
    }
    gHandedOut.push_back(data);
    return gHandedOut.back().constData();
}

bool setClipboardData(unsigned format, void* block, size_t bytes) {
    bool known = format == ClipboardUnicodeText || !typeName(format).isEmpty();
    if (!gOpen || !known || !block) {
        plainFree(block);
        return false;
    }
    QMimeData* content = pendingContent();
    if (format == ClipboardUnicodeText) {
        const auto* units = static_cast<const char16_t*>(block);
        size_t n = 0;
        while (n < bytes / 2 && units[n] != 0)
            ++n;
        content->setText(QString::fromUtf16(units, qsizetype(n)));
    } else {
        const auto* data = static_cast<const char*>(block);
        size_t n = 0;
        while (n < bytes && data[n] != 0)
            ++n;
        QByteArray value(data, qsizetype(n));
        if (format == richTextFormat()) {
            // Published under the two names office programs read; the third only ever comes
            // from other programs and would disagree with the new content.
            content->removeFormat(QLatin1String(kRichTextTypes[2]));
            content->setData(QLatin1String(kRichTextTypes[0]), value);
            content->setData(QLatin1String(kRichTextTypes[1]), value);
        } else {
            content->setData(typeName(format), value);
        }
    }
    plainFree(block);
    return true;
}

std::vector<unsigned> clipboardFormats() {
    std::vector<unsigned> formats;
    QClipboard* clipboard = systemClipboard();
    const QMimeData* content = clipboard ? clipboard->mimeData() : nullptr;
    if (!content) return formats;
    for (const QString& type : content->formats()) {
        unsigned format = type.startsWith(QLatin1String("text/plain")) ? ClipboardUnicodeText
                          : isRichTextType(type)
                              ? richTextFormat()
                              : registerClipboardFormat(type.toStdU16String().c_str());
        bool seen = false;
        for (unsigned f : formats)
            seen = seen || f == format;
        if (!seen) formats.push_back(format);
    }
    return formats;
}

void failClipboardOpen(bool on) {
    gFailOpen = on;
}

std::vector<std::string> clipboardTypes() {
    std::vector<std::string> types;
    QClipboard* clipboard = systemClipboard();
    const QMimeData* content = clipboard ? clipboard->mimeData() : nullptr;
    if (content) {
        for (const QString& type : content->formats())
            types.push_back(type.toStdString());
    }
    return types;
}

std::string clipboardTypeData(const std::string& type) {
    QClipboard* clipboard = systemClipboard();
    const QMimeData* content = clipboard ? clipboard->mimeData() : nullptr;
    if (!content) return {};
    QByteArray data = content->data(QString::fromStdString(type));
    return std::string(data.constData(), size_t(data.size()));
}

void putClipboardTypes(const std::vector<std::pair<std::string, std::string>>& types) {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return;
    auto* content = new QMimeData;
    for (const auto& [type, bytes] : types)
        content->setData(QString::fromStdString(type),
                         QByteArray(bytes.data(), qsizetype(bytes.size())));
    clipboard->setMimeData(content);
}
