#include "util/widgets/popMsgClass.h"

#include "util/widgets/popMsgForm.h"

#include <algorithm>

popMsgClass::popMsgClass(QObject* parent) : QObject(parent) {
    ResetDefaultValues();
}

popMsgClass::~popMsgClass() {
    DestroyAll();
}

void popMsgClass::ResetDefaultValues() {
    m_title = QStringLiteral("Information");
    m_text.clear();
    m_icon = 64;
    m_showTime = 10;
    m_idleTimeout = 60;
    m_params = QVariant();
}

popMsgForm* popMsgClass::PopMessage() {
    auto* form = new popMsgForm;
    form->setMTitle(m_title);
    form->setMText(m_text);
    form->setMIdleTimeout(m_idleTimeout);
    form->refreshForm();
    form->setIcon(m_icon);
    // The interval was a 16-bit millisecond count: 32 seconds is the most it held.
    form->popUp(std::clamp<int>(m_showTime, 0, 32));
    m_forms.append(form);
    return form;
}

void popMsgClass::DestroyAll() {
    for (const QPointer<popMsgForm>& form : std::as_const(m_forms))
        delete form.data();
    m_forms.clear();
}

QList<popMsgForm*> popMsgClass::forms() const {
    QList<popMsgForm*> alive;
    for (const QPointer<popMsgForm>& form : m_forms)
        if (form) alive.append(form.data());
    return alive;
}
