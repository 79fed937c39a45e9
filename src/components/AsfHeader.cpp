#include "components/AsfHeader.h"

#include <QtEndian>

namespace {

const QByteArray headerGuid("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
const QByteArray
    filePropertiesGuid("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16);
const QByteArray descriptionGuid("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C",
                                 16);
const QByteArray extendedGuid("\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50",
                              16);
const QByteArray extensionGuid("\xB5\x03\xBF\x5F\x2E\xA9\xCF\x11\x8E\xE3\x00\xC0\x0C\x20\x53\x65",
                               16);
const QByteArray metadataGuid("\xEA\xCB\xF8\xC5\xAF\x5B\x77\x48\x84\x67\xAA\x8C\x44\xFA\x4C\xCA",
                              16);
const QByteArray libraryGuid("\x94\x1C\x23\x44\x98\x94\xD1\x49\xA1\x41\x1D\x13\x4E\x45\x70\x54",
                             16);

constexpr qsizetype ObjectHeader = 24; // GUID and 64-bit size
constexpr qsizetype FileSizeOffset = 16;

// Bounds-checked little-endian reading.
class Reader {
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    qsizetype pos() const { return m_pos; }
    qsizetype left() const { return m_bytes.size() - m_pos; }
    QByteArrayView take(quint64 n) {
        if (!m_ok || n > static_cast<quint64>(left())) {
            m_ok = false;
            return {};
        }
        const QByteArrayView out = m_bytes.sliced(m_pos, static_cast<qsizetype>(n));
        m_pos += static_cast<qsizetype>(n);
        return out;
    }
    quint16 u16() { return number<quint16>(); }
    quint32 u32() { return number<quint32>(); }
    quint64 u64() { return number<quint64>(); }

private:
    template <typename T> T number() {
        const QByteArrayView b = take(sizeof(T));
        return m_ok ? qFromLittleEndian<T>(b.data()) : T(0);
    }
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

template <typename T> void put(QByteArray& out, T value) {
    char b[sizeof(T)];
    qToLittleEndian<T>(value, b);
    out.append(b, sizeof(T));
}

// The size of the object at the start of bytes; 0 when it does not fit.
quint64 objectSize(QByteArrayView bytes) {
    if (bytes.size() < ObjectHeader) return 0;
    const quint64 size = qFromLittleEndian<quint64>(bytes.data() + 16);
    return size >= ObjectHeader && size <= static_cast<quint64>(bytes.size()) ? size : 0;
}

QString fromUtf16Le(QByteArrayView bytes) {
    QString s;
    s.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        s.append(QChar(qFromLittleEndian<quint16>(bytes.data() + i)));
    while (s.endsWith(QChar(0)))
        s.chop(1);
    return s;
}

} // namespace

QByteArray AsfHeader::text(const QString& value) {
    QByteArray out;
    out.reserve((value.size() + 1) * 2);
    for (const QChar c : value)
        put<quint16>(out, c.unicode());
    put<quint16>(out, 0);
    return out;
}

QByteArray AsfHeader::number(Type type, quint64 value) {
    QByteArray out;
    switch (type) {
    case Word:
        put<quint16>(out, static_cast<quint16>(value));
        break;
    case Qword:
        put<quint64>(out, value);
        break;
    default:
        put<quint32>(out, static_cast<quint32>(value));
        break;
    }
    return out;
}

quint64 AsfHeader::headerSize(QByteArrayView start) {
    if (start.size() < 30 || start.first(16) != QByteArrayView(headerGuid)) return 0;
    return qFromLittleEndian<quint64>(start.data() + 16);
}

bool AsfHeader::parseRecords(Object& o, QByteArrayView payload) {
    Reader r(payload);
    const quint16 count = r.u16();
    for (quint16 i = 0; i < count && r.ok(); ++i) {
        Record rec;
        const qsizetype start = r.pos();
        quint64 nameLength = 0, valueLength = 0;
        if (o.kind == Kind::Extended) {
            nameLength = r.u16();
            rec.name = r.take(nameLength).toByteArray();
            rec.type = r.u16();
            valueLength = r.u16();
        } else {
            rec.language = r.u16();
            rec.stream = r.u16();
            nameLength = r.u16();
            rec.type = r.u16();
            valueLength = r.u32();
            rec.name = r.take(nameLength).toByteArray();
        }
        rec.value = r.take(valueLength).toByteArray();
        if (!r.ok()) return false;
        rec.raw = payload.sliced(start, r.pos() - start).toByteArray();
        rec.nameText = fromUtf16Le(rec.name);
        o.records.push_back(std::move(rec));
    }
    if (!r.ok()) return false;
    o.tail = r.take(r.left()).toByteArray();
    return true;
}

Result<AsfHeader::Object> AsfHeader::parseObject(QByteArrayView bytes) {
    Object o;
    o.guid = bytes.first(16).toByteArray();
    const QByteArrayView payload = bytes.sliced(ObjectHeader);
    const auto bad = [] { return Result<Object>::failure(QStringLiteral("damaged WMA header")); };
    if (o.guid == descriptionGuid) {
        o.kind = Kind::Description;
        Reader r(payload);
        quint16 lengths[5];
        for (quint16& l : lengths)
            l = r.u16();
        for (int i = 0; i < 5; ++i)
            o.strings[static_cast<size_t>(i)] = r.take(lengths[i]).toByteArray();
        if (!r.ok()) return bad();
        o.tail = r.take(r.left()).toByteArray();
    } else if (o.guid == extendedGuid || o.guid == metadataGuid || o.guid == libraryGuid) {
        o.kind = o.guid == extendedGuid   ? Kind::Extended
                 : o.guid == metadataGuid ? Kind::Metadata
                                          : Kind::Library;
        if (!parseRecords(o, payload)) return bad();
    } else if (o.guid == extensionGuid) {
        o.kind = Kind::Extension;
        Reader r(payload);
        o.extensionHead = r.take(18).toByteArray();
        const quint32 dataSize = r.u32();
        const QByteArrayView data = r.take(dataSize);
        if (!r.ok()) return bad();
        for (qsizetype pos = 0; pos < data.size();) {
            const quint64 size = objectSize(data.sliced(pos));
            if (size == 0) return bad();
            Result<Object> child = parseObject(data.sliced(pos, static_cast<qsizetype>(size)));
            if (!child) return child;
            o.children.push_back(std::move(child).value());
            pos += static_cast<qsizetype>(size);
        }
        o.tail = r.take(r.left()).toByteArray();
    } else {
        o.kind = o.guid == filePropertiesGuid ? Kind::FileProperties : Kind::Other;
        o.payload = payload.toByteArray();
        if (o.kind == Kind::FileProperties && o.payload.size() < FileSizeOffset + 8)
            o.kind = Kind::Other;
    }
    return o;
}

Result<AsfHeader> AsfHeader::parse(QByteArrayView header) {
    const auto bad = [] {
        return Result<AsfHeader>::failure(QStringLiteral("damaged WMA header"));
    };
    if (headerSize(header) != static_cast<quint64>(header.size())) return bad();
    AsfHeader h;
    Reader r(header);
    r.take(24);
    const quint32 count = r.u32();
    h.m_reserved = r.take(2).toByteArray();
    if (!r.ok()) return bad();
    qsizetype pos = r.pos();
    for (quint32 i = 0; i < count; ++i) {
        const quint64 size = objectSize(header.sliced(pos));
        if (size == 0) return bad();
        Result<Object> o = parseObject(header.sliced(pos, static_cast<qsizetype>(size)));
        if (!o) return Result<AsfHeader>::failure(o.error());
        h.m_objects.push_back(std::move(o).value());
        pos += static_cast<qsizetype>(size);
    }
    h.m_tail = header.sliced(pos).toByteArray();
    return h;
}

template <typename F> void AsfHeader::forEachRecord(F&& f) {
    for (Object& o : m_objects) {
        for (Record& rec : o.records)
            f(rec);
        for (Object& c : o.children)
            for (Record& rec : c.records)
                f(rec);
    }
}

template <typename F> void AsfHeader::forEachRecord(F&& f) const {
    const_cast<AsfHeader*>(this)->forEachRecord([&f](const Record& rec) { f(rec); });
}

void AsfHeader::setDescription(Description which, const QString& value) {
    const QByteArray bytes = value.isEmpty() ? QByteArray() : text(value);
    bool found = false;
    for (Object& o : m_objects)
        if (o.kind == Kind::Description) {
            o.strings[which] = bytes;
            found = true;
        }
    if (found || value.isEmpty()) return;
    Object o;
    o.guid = descriptionGuid;
    o.kind = Kind::Description;
    o.strings[which] = bytes;
    m_objects.push_back(std::move(o));
}

int AsfHeader::attributeType(const QString& name, Qt::CaseSensitivity cs) const {
    int type = -1;
    forEachRecord([&](const Record& rec) {
        if (type < 0 && !rec.removed && rec.nameText.compare(name, cs) == 0) type = rec.type;
    });
    return type;
}

void AsfHeader::setAttribute(const QString& name, Type type, const QByteArray& value, bool add,
                             Qt::CaseSensitivity cs) {
    bool first = true;
    forEachRecord([&](Record& rec) {
        if (rec.removed || rec.nameText.compare(name, cs) != 0) return;
        if (first) {
            rec.type = type;
            rec.value = value;
            rec.changed = true;
            first = false;
        } else {
            rec.removed = true;
        }
    });
    if (!first || !add) return;
    Object* extended = nullptr;
    for (Object& o : m_objects)
        if (!extended && o.kind == Kind::Extended) extended = &o;
    if (!extended) {
        Object o;
        o.guid = extendedGuid;
        o.kind = Kind::Extended;
        m_objects.push_back(std::move(o));
        extended = &m_objects.back();
    }
    Record rec;
    rec.name = text(name);
    rec.nameText = name;
    rec.type = type;
    rec.value = value;
    rec.changed = true;
    extended->records.push_back(std::move(rec));
}

void AsfHeader::removeAttribute(const QString& name, Qt::CaseSensitivity cs) {
    forEachRecord([&](Record& rec) {
        if (rec.nameText.compare(name, cs) == 0) rec.removed = true;
    });
}

quint64 AsfHeader::fileSize() const {
    for (const Object& o : m_objects)
        if (o.kind == Kind::FileProperties)
            return qFromLittleEndian<quint64>(o.payload.constData() + FileSizeOffset);
    return 0;
}

void AsfHeader::setFileSize(quint64 size) {
    for (Object& o : m_objects)
        if (o.kind == Kind::FileProperties)
            qToLittleEndian<quint64>(size, o.payload.data() + FileSizeOffset);
}

QByteArray AsfHeader::renderRecord(Kind kind, const Record& rec) {
    if (!rec.changed) return rec.raw;
    QByteArray out;
    if (kind == Kind::Extended) {
        put<quint16>(out, static_cast<quint16>(rec.name.size()));
        out += rec.name;
        put<quint16>(out, rec.type);
        put<quint16>(out, static_cast<quint16>(rec.value.size()));
    } else {
        put<quint16>(out, rec.language);
        put<quint16>(out, rec.stream);
        put<quint16>(out, static_cast<quint16>(rec.name.size()));
        put<quint16>(out, rec.type);
        put<quint32>(out, static_cast<quint32>(rec.value.size()));
        out += rec.name;
    }
    out += rec.value;
    return out;
}

QByteArray AsfHeader::renderObject(const Object& o) {
    QByteArray payload;
    switch (o.kind) {
    case Kind::Description:
        for (const QByteArray& s : o.strings)
            put<quint16>(payload, static_cast<quint16>(s.size()));
        for (const QByteArray& s : o.strings)
            payload += s;
        break;
    case Kind::Extended:
    case Kind::Metadata:
    case Kind::Library: {
        QByteArray records;
        quint16 count = 0;
        for (const Record& rec : o.records)
            if (!rec.removed) {
                records += renderRecord(o.kind, rec);
                ++count;
            }
        put<quint16>(payload, count);
        payload += records;
        break;
    }
    case Kind::Extension: {
        QByteArray data;
        for (const Object& c : o.children)
            data += renderObject(c);
        payload = o.extensionHead;
        put<quint32>(payload, static_cast<quint32>(data.size()));
        payload += data;
        break;
    }
    case Kind::Other:
    case Kind::FileProperties:
        payload = o.payload;
        break;
    }
    payload += o.tail;
    QByteArray out = o.guid;
    put<quint64>(out, static_cast<quint64>(payload.size() + ObjectHeader));
    return out + payload;
}

QByteArray AsfHeader::render() const {
    QByteArray objects;
    for (const Object& o : m_objects)
        objects += renderObject(o);
    objects += m_tail;
    QByteArray out = headerGuid;
    put<quint64>(out, static_cast<quint64>(objects.size() + 30));
    put<quint32>(out, static_cast<quint32>(m_objects.size()));
    out += m_reserved;
    return out + objects;
}
