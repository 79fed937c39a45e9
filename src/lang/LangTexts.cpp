#include "lang/LangTexts.h"

QString LangTexts::value(const QString& key) const {
    const auto it = m_index.constFind(fold(key));
    return it == m_index.constEnd() ? QString() : m_values.at(*it);
}

void LangTexts::set(const QString& key, const QString& value) {
    const QString folded = fold(key);
    const auto it = m_index.constFind(folded);
    if (it != m_index.constEnd()) {
        m_values[*it] = value;
        return;
    }
    m_index.insert(folded, m_keys.size());
    m_keys.append(key);
    m_values.append(value);
}

void LangTexts::clear() {
    m_index.clear();
    m_keys.clear();
    m_values.clear();
}
