#include "platform/HiveDocument.h"

#include <QStringDecoder>

namespace platform {

namespace {

const QByteArray Header = QByteArrayLiteral("Windows Registry Editor Version 5.00");
const QString RootName = QStringLiteral("HKEY_CURRENT_USER");
const QByteArray HexPrefix = QByteArrayLiteral("hex(1):");
constexpr int HexLineWidth = 80;

QString folded(const QString& text)
{
    return text.toCaseFolded();
}

// True for text the quoted form cannot carry through a line-based file, or
// that UTF-8 cannot hold (an unpaired surrogate).
bool needsHexForm(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 || c == 0x7F)
            return true;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text.at(i + 1).unicode()))
                return true;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return true;
        }
    }
    return false;
}

QByteArray quoted(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char byte : text.toUtf8()) {
        if (byte == '\\' || byte == '"')
            out += '\\';
        out += byte;
    }
    out += '"';
    return out;
}

void appendHexForm(QByteArray& out, const QString& data, qsizetype lineStart)
{
    out += HexPrefix;
    QByteArray bytes;
    bytes.reserve((data.size() + 1) * 2);
    for (QChar c : data) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    bytes += '\0';
    bytes += '\0';
    static const char Digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        // Long values wrap the way the registry editor wraps them, so the
        // file stays readable in an ordinary editor.
        if (out.size() - lineStart + 4 > HexLineWidth) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        out += Digits[byte >> 4];
        out += Digits[byte & 0xF];
        if (i + 1 < bytes.size())
            out += ',';
    }
}

class Parser {
public:
    explicit Parser(const QString& text) : m_lines(text.split(QLatin1Char('\n'))) {}

    std::optional<HiveDocument> run()
    {
        if (m_lines.isEmpty() || line(0) != QString::fromLatin1(Header))
            return std::nullopt;
        HiveDocument document;
        QString currentKey;
        bool inKey = false;
        for (m_row = 1; m_row < m_lines.size(); ++m_row) {
            const QString text = line(m_row);
            if (text.trimmed().isEmpty() || text.startsWith(QLatin1Char(';')))
                continue;
            if (text.startsWith(QLatin1Char('['))) {
                auto path = keyPath(text);
                if (!path)
                    return std::nullopt;
                currentKey = *path;
                inKey = !currentKey.isEmpty();
                if (inKey)
                    document.createKey(currentKey);
                continue;
            }
            if (!inKey)
                return std::nullopt;
            auto entry = valueLine(text);
            if (!entry)
                return std::nullopt;
            document.setValue(currentKey, entry->name, entry->data);
        }
        return document;
    }

private:
    QString line(qsizetype row) const
    {
        QString text = m_lines.at(row);
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        return text;
    }

    // The path below HKEY_CURRENT_USER; empty for the root itself.
    static std::optional<QString> keyPath(const QString& text)
    {
        const qsizetype close = text.lastIndexOf(QLatin1Char(']'));
        if (close < 0 || !text.mid(close + 1).trimmed().isEmpty())
            return std::nullopt;
        const QString full = text.mid(1, close - 1);
        if (full.compare(RootName, Qt::CaseInsensitive) == 0)
            return QString();
        if (!full.startsWith(RootName + QLatin1Char('\\'), Qt::CaseInsensitive))
            return std::nullopt;
        const QString path = full.mid(RootName.size() + 1);
        if (!HiveDocument::isValidKeyPath(path))
            return std::nullopt;
        return path;
    }

    static std::optional<QString> quotedText(const QString& text, qsizetype& pos)
    {
        if (pos >= text.size() || text.at(pos) != QLatin1Char('"'))
            return std::nullopt;
        QString out;
        for (++pos; pos < text.size(); ++pos) {
            const QChar c = text.at(pos);
            if (c == QLatin1Char('"')) {
                ++pos;
                return out;
            }
            if (c == QLatin1Char('\\')) {
                if (++pos >= text.size())
                    return std::nullopt;
                const QChar escaped = text.at(pos);
                if (escaped != QLatin1Char('\\') && escaped != QLatin1Char('"'))
                    return std::nullopt;
                out += escaped;
            } else {
                out += c;
            }
        }
        return std::nullopt;
    }

    std::optional<HiveValue> valueLine(const QString& text)
    {
        HiveValue entry;
        qsizetype pos = 0;
        if (text.startsWith(QLatin1String("@="))) {
            pos = 1;
        } else {
            auto name = quotedText(text, pos);
            if (!name || !HiveDocument::isValidValueName(*name))
                return std::nullopt;
            entry.name = *name;
        }
        if (pos >= text.size() || text.at(pos) != QLatin1Char('='))
            return std::nullopt;
        ++pos;
        if (text.mid(pos, HexPrefix.size()) == QString::fromLatin1(HexPrefix)) {
            auto data = hexData(text.mid(pos + HexPrefix.size()));
            if (!data)
                return std::nullopt;
            entry.data = *data;
            return entry;
        }
        auto data = quotedText(text, pos);
        if (!data || !text.mid(pos).trimmed().isEmpty())
            return std::nullopt;
        entry.data = *data;
        return entry;
    }

    // Comma-separated UTF-16LE bytes, possibly continued on following lines
    // after a trailing backslash.
    std::optional<QString> hexData(QString rest)
    {
        QString digits;
        for (;;) {
            rest = rest.trimmed();
            if (!rest.endsWith(QLatin1Char('\\'))) {
                digits += rest;
                break;
            }
            rest.chop(1);
            digits += rest;
            if (++m_row >= m_lines.size())
                return std::nullopt;
            rest = line(m_row);
        }
        QByteArray bytes;
        if (!digits.isEmpty()) {
            for (const QString& item : digits.split(QLatin1Char(','))) {
                const QString byte = item.trimmed();
                bool ok = false;
                const uint number = byte.toUInt(&ok, 16);
                if (!ok || byte.size() != 2 || number > 0xFF)
                    return std::nullopt;
                bytes += char(number);
            }
        }
        if (bytes.size() % 2 != 0)
            return std::nullopt;
        QString data;
        data.reserve(bytes.size() / 2);
        for (qsizetype i = 0; i < bytes.size(); i += 2) {
            data += QChar(char16_t(static_cast<unsigned char>(bytes.at(i))
                                   | static_cast<unsigned char>(bytes.at(i + 1)) << 8));
        }
        // The terminator belongs to the stored form, not to the text.
        if (data.endsWith(QChar(0)))
            data.chop(1);
        return data;
    }

    QStringList m_lines;
    qsizetype m_row = 0;
};

} // namespace

std::optional<HiveDocument> HiveDocument::parse(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(text);
    if (decoder.hasError() || decoded.contains(QChar(0)))
        return std::nullopt;
    return Parser(decoded).run();
}

QByteArray HiveDocument::toText() const
{
    QByteArray out = Header + "\n\n";
    const QByteArray root = RootName.toLatin1();
    for (const HiveKey& key : m_keys) {
        out += '[' + root + '\\' + key.path.toUtf8() + "]\n";
        for (const HiveValue& value : key.values) {
            const qsizetype lineStart = out.size();
            out += value.name.isEmpty() ? QByteArray("@") : quoted(value.name);
            out += '=';
            if (needsHexForm(value.data))
                appendHexForm(out, value.data, lineStart);
            else
                out += quoted(value.data);
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

bool HiveDocument::isValidKeyPath(const QString& path)
{
    if (path.isEmpty())
        return false;
    for (const QString& part : path.split(QLatin1Char('\\'))) {
        if (part.isEmpty() || needsHexForm(part))
            return false;
    }
    return true;
}

bool HiveDocument::isValidValueName(const QString& name)
{
    return !needsHexForm(name);
}

const HiveKey* HiveDocument::key(const QString& path) const
{
    auto it = m_index.constFind(folded(path));
    return it == m_index.cend() ? nullptr : &m_keys[*it];
}

HiveKey* HiveDocument::findKey(const QString& path)
{
    auto it = m_index.constFind(folded(path));
    return it == m_index.cend() ? nullptr : &m_keys[*it];
}

bool HiveDocument::hasSubkeys(const QString& path) const
{
    const QString prefix = folded(path) + QLatin1Char('\\');
    for (auto it = m_index.cbegin(); it != m_index.cend(); ++it) {
        if (it.key().startsWith(prefix))
            return true;
    }
    return false;
}

void HiveDocument::createKey(const QString& path)
{
    // Parents exist whenever a child does, as in the registry itself.
    qsizetype end = 0;
    for (;;) {
        end = path.indexOf(QLatin1Char('\\'), end);
        const QString prefix = end < 0 ? path : path.left(end);
        if (!findKey(prefix)) {
            m_index.insert(folded(prefix), m_keys.size());
            m_keys.push_back(HiveKey{prefix, {}});
        }
        if (end < 0)
            return;
        ++end;
    }
}

void HiveDocument::removeKey(const QString& path)
{
    auto it = m_index.constFind(folded(path));
    if (it == m_index.cend())
        return;
    m_keys.erase(m_keys.begin() + qsizetype(*it));
    reindex();
}

void HiveDocument::reindex()
{
    m_index.clear();
    for (std::size_t i = 0; i < m_keys.size(); ++i)
        m_index.insert(folded(m_keys[i].path), i);
}

void HiveDocument::setValue(const QString& path, const QString& name, const QString& data)
{
    HiveKey* key = findKey(path);
    if (!key)
        return;
    for (HiveValue& value : key->values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0) {
            value.data = data;
            return;
        }
    }
    key->values.append({name, data});
}

const HiveValue* HiveDocument::value(const QString& path, const QString& name) const
{
    const HiveKey* found = key(path);
    if (!found)
        return nullptr;
    for (const HiveValue& value : found->values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0)
            return &value;
    }
    return nullptr;
}

} // namespace platform
