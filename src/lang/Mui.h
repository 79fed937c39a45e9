#pragma once
// The language manager: lists the languages of the language folder, loads one
// by its Windows language id (LCID) with a fixed fallback, and answers numbered
// and keyed text requests. Applying texts to windows lives in
// lang/widgets/FormLang.h.
#include "lang/LangTexts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class clsMUI {
public:
    clsMUI();

    // The user's default language, from the system locale.
    static int UserDefaultLCID();
    // Replaces where the user's default language comes from (tests, tools).
    void SetUserDefaultLCIDSource(std::function<int()> source);

    QString ProjectID() const { return m_projectID; }
    void SetProjectID(const QString& id) { m_projectID = id; }

    int AvailableLangCount() const { return static_cast<int>(m_langs.size()); }
    // 0-based; an empty text, 0 or an empty path when out of range.
    QString AvailableLangName(int index) const;
    int AvailableLCID(int index) const;
    QString AvailableLangFile(int index) const;
    bool IsAvailable(int lcid) const;

    // The loaded language, 0 when none is loaded.
    int LCID() const { return m_lcid; }
    // Loads the language, 0 meaning the user's default; falls back to 2070 for
    // 1046 and to 1033 for anything else. LCID() is 0 afterwards when neither
    // could be read; the texts held before stay then.
    void SetLCID(int lcid);

    // Always ends with a separator once set. Setting it lists the languages.
    QString LangFolder() const { return m_langFolder; }
    void SetLangFolder(const QString& folder);
    void RefreshLangList();

    // Text number n ("$" + n in three or more digits) with "%0", "%1"... filled.
    QString Text(int number, const QStringList& args = {}) const;
    // The same for a text looked up by its full key.
    QString TextObj(const QString& key, const QStringList& args = {}) const;
    void SetText(int number, const QString& text);
    static QString NumberKey(int number);

    // A store exists: a language was read, or texts were set or captured.
    bool IsLoaded() const { return m_loaded; }
    bool HasText(const QString& key) const { return m_texts.contains(key); }
    // Adds or replaces one keyed text (form capture).
    void StoreText(const QString& key, const QString& text);
    const LangTexts& Texts() const { return m_texts; }

    // Writes the texts held in plain text form; false when there are none.
    bool SaveLangFile(const QString& path, int lcid, const QString& name) const;
    static QString DecodeLangFile(const QString& path);
    static bool EncodeLangFile(const QString& source, const QString& target);

private:
    struct Available {
        int lcid;
        QString name;
        QString file;
    };
    // Reads the first listed language with that id; false when none is listed
    // or it cannot be read.
    bool loadListed(int lcid);

    QString m_projectID;
    QString m_langFolder;
    QList<Available> m_langs;
    int m_lcid = 0;
    LangTexts m_texts;
    bool m_loaded = false;
    std::function<int()> m_userDefault;
};
