#include "lang/Mui.h"

#include "core/PathHelpers.h"
#include "lang/LangArgs.h"
#include "lang/LangFile.h"
#include "lang/LocaleIds.h"

#include <QDir>
#include <algorithm>

clsMUI::clsMUI() : m_userDefault(&clsMUI::UserDefaultLCID) {}

int clsMUI::UserDefaultLCID() {
    return LocaleIds::SystemLCID();
}

void clsMUI::SetUserDefaultLCIDSource(std::function<int()> source) {
    m_userDefault = source ? std::move(source) : std::function<int()>(&clsMUI::UserDefaultLCID);
}

QString clsMUI::AvailableLangName(int index) const {
    return index >= 0 && index < m_langs.size() ? m_langs.at(index).name : QString();
}

int clsMUI::AvailableLCID(int index) const {
    return index >= 0 && index < m_langs.size() ? m_langs.at(index).lcid : 0;
}

QString clsMUI::AvailableLangFile(int index) const {
    return index >= 0 && index < m_langs.size() ? m_langs.at(index).file : QString();
}

bool clsMUI::IsAvailable(int lcid) const {
    return std::any_of(m_langs.cbegin(), m_langs.cend(),
                       [lcid](const Available& a) { return a.lcid == lcid; });
}

void clsMUI::SetLangFolder(const QString& folder) {
    const QString trimmed = folder.trimmed();
    m_langFolder = trimmed.isEmpty() ? mainMod::AppFolder() : mainMod::NormalizePath(trimmed, true);
    RefreshLangList();
}

void clsMUI::RefreshLangList() {
    if (m_langFolder.isEmpty()) {
        SetLangFolder(QString()); // lists again
        return;
    }
    m_langs.clear();
    const QDir dir(m_langFolder);
    // Matched without regard to case, as "*.lng" matches "FRENCH.LNG" on Windows.
    const QStringList files =
        dir.entryList({QStringLiteral("*.lng")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : files) {
        const QString path = dir.filePath(name);
        const QString text = LangFile::DecodeLangFile(path);
        const auto header = LangFile::ParseHeader(LangFile::SplitLines(text).value(0));
        if (!header) continue;
        m_langs.append({header->LCID, header->name, path});
    }
    // Stable, so languages of the same name keep the order of their files.
    std::stable_sort(m_langs.begin(), m_langs.end(), [](const Available& a, const Available& b) {
        return QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
}

bool clsMUI::loadListed(int lcid) {
    const auto it = std::find_if(m_langs.cbegin(), m_langs.cend(),
                                 [lcid](const Available& a) { return a.lcid == lcid; });
    if (it == m_langs.cend()) return false;
    LangTexts fresh;
    if (!LangFile::ReadTexts(LangFile::DecodeLangFile(it->file), fresh)) return false;
    m_texts = std::move(fresh);
    m_loaded = true;
    m_lcid = lcid;
    return true;
}

void clsMUI::SetLCID(int lcid) {
    if (m_langs.isEmpty()) RefreshLangList();
    if (m_langs.isEmpty()) return;
    const int target = lcid == 0 ? m_userDefault() : lcid;
    m_lcid = 0;
    if (loadListed(target)) return;
    loadListed(target == 1046 ? 2070 : 1033);
}

QString clsMUI::NumberKey(int number) {
    return QLatin1Char('$') + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

QString clsMUI::Text(int number, const QStringList& args) const {
    return TextObj(NumberKey(number), args);
}

QString clsMUI::TextObj(const QString& key, const QStringList& args) const {
    if (!m_loaded) return QString();
    return LangArgs::Fill(m_texts.value(key), args);
}

void clsMUI::SetText(int number, const QString& text) {
    StoreText(NumberKey(number), text);
}

void clsMUI::StoreText(const QString& key, const QString& text) {
    m_texts.set(key, text);
    m_loaded = true;
}

bool clsMUI::SaveLangFile(const QString& path, int lcid, const QString& name) const {
    return LangFile::SaveLangFile(path, m_texts, lcid, name);
}

QString clsMUI::DecodeLangFile(const QString& path) {
    return LangFile::DecodeLangFile(path);
}

bool clsMUI::EncodeLangFile(const QString& source, const QString& target) {
    return LangFile::EncodeLangFile(source, target);
}
