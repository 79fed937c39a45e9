#pragma once
// The header object of an ASF (WMA) file, changed record by record: objects and
// attributes that are not changed keep their bytes and their order.
//
// TagLib's ASF writer re-renders the whole content description (an absent
// copyright or rating comes back as an empty string) and moves the second value
// of an attribute into another object, which changes the order in which readers
// see the values. Tag writes edit the records here instead and let TagLib read
// the result back.
//
// Attributes live in the extended content description and in the header
// extension's metadata and metadata-library objects; the content description
// holds title, author, copyright, description and rating.
#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

class AsfHeader {
public:
    enum Description { Title = 0, Author = 1, Copyright = 2, Comment = 3, Rating = 4 };
    enum Type : quint16 { Text = 0, Bytes = 1, Bool = 2, Dword = 3, Qword = 4, Word = 5, Guid = 6 };
    // The largest value the content description or the extended content
    // description can hold (a 16-bit length).
    static constexpr qsizetype MaxValueBytes = 65535;

    // The size of the header object, read from the first 30 bytes of a file;
    // 0 when they are not the start of an ASF file.
    static quint64 headerSize(QByteArrayView start);
    // Parses the header object (the first headerSize bytes of the file).
    static Result<AsfHeader> parse(QByteArrayView header);

    // Sets one content-description string (in every content description); ""
    // leaves it absent. A content description is added when there is none.
    void setDescription(Description which, const QString& value);

    // The type of the first attribute of that name, or -1 when there is none.
    int attributeType(const QString& name, Qt::CaseSensitivity cs = Qt::CaseSensitive) const;
    // Gives the first attribute of that name (in the order readers meet them) a
    // new type and value and removes the others. When there is none, add puts
    // one into the extended content description (added when missing).
    void setAttribute(const QString& name, Type type, const QByteArray& value, bool add,
                      Qt::CaseSensitivity cs = Qt::CaseSensitive);
    // Removes every attribute of that name.
    void removeAttribute(const QString& name, Qt::CaseSensitivity cs = Qt::CaseSensitive);

    // The file-size field of the file properties (0 when there are none).
    quint64 fileSize() const;
    void setFileSize(quint64 size);

    QByteArray render() const;

    // Value encodings: UTF-16LE with its terminator; little-endian numbers.
    static QByteArray text(const QString& value);
    static QByteArray number(Type type, quint64 value);

private:
    struct Record {
        QByteArray raw; // the record as read; rendered from the fields below once changed
        QByteArray name;
        QString nameText;
        quint16 language = 0, stream = 0, type = 0;
        QByteArray value;
        bool changed = false, removed = false;
    };
    enum class Kind { Other, FileProperties, Description, Extended, Metadata, Library, Extension };
    struct Object {
        QByteArray guid;
        Kind kind = Kind::Other;
        QByteArray payload;                // Other, FileProperties
        std::array<QByteArray, 5> strings; // Description
        std::vector<Record> records;       // Extended, Metadata, Library
        QByteArray extensionHead;          // Extension: the 18 reserved bytes
        std::vector<Object> children;      // Extension
        QByteArray tail;                   // bytes after the records or children
    };

    static Result<Object> parseObject(QByteArrayView bytes);
    static bool parseRecords(Object& object, QByteArrayView payload);
    static QByteArray renderObject(const Object& object);
    static QByteArray renderRecord(Kind kind, const Record& record);
    template <typename F> void forEachRecord(F&& f);
    template <typename F> void forEachRecord(F&& f) const;

    QByteArray m_reserved; // the two bytes after the object count
    std::vector<Object> m_objects;
    QByteArray m_tail;
};
