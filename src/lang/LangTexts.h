#pragma once
// The keyed texts of one language. Keys compare without regard to letter case;
// a key keeps the spelling and the position of its first insertion, so that a
// saved file lists the keys in the order they were first met.
#include <QHash>
#include <QString>
#include <QStringList>

class LangTexts {
public:
    bool isEmpty() const { return m_keys.isEmpty(); }
    qsizetype count() const { return m_keys.size(); }
    bool contains(const QString& key) const { return m_index.contains(fold(key)); }
    // The text stored under the key, or an empty text.
    QString value(const QString& key) const;
    // Adds the key at the end, or replaces the value of an existing key in place.
    void set(const QString& key, const QString& value);
    // Keys in order of first insertion, spelled as they were first inserted.
    const QStringList& keys() const { return m_keys; }
    QString valueAt(qsizetype position) const { return m_values.at(position); }
    void clear();

private:
    static QString fold(const QString& key) { return key.toCaseFolded(); }

    QHash<QString, qsizetype> m_index; // folded key -> position
    QStringList m_keys;
    QStringList m_values;
};
