#include "lang/widgets/FormLang.h"

#include "lang/AppLang.h"
#include "lang/Mui.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTreeView>
#include <functional>

namespace FormLang {

namespace {

// One text of a window: its key and how to read and write it.
struct TextSlot {
    QString key;
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

// Language texts break lines with CR LF, widgets with LF.
QString toWidget(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString fromWidget(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString controlKey(const QObject* obj) {
    QString key = obj->objectName();
    const QVariant index = obj->property("index");
    bool ok = false;
    const int i = index.toInt(&ok);
    if (index.isValid() && ok) key += QLatin1Char('(') + QString::number(i) + QLatin1Char(')');
    return key;
}

void addColumnHeaders(QAbstractItemModel* model, const QString& base, QList<TextSlot>& out) {
    if (!model) return;
    const int columns = model->columnCount();
    for (int i = 0; i < columns; ++i)
        out.append({base + QStringLiteral(".ColumnHeaders[%1].Text").arg(i + 1),
                    [model, i] { return model->headerData(i, Qt::Horizontal).toString(); },
                    [model, i](const QString& t) { model->setHeaderData(i, Qt::Horizontal, t); }});
}

// QAction::toolTip() falls back to the stripped caption; only a tool tip of
// its own is worth capturing.
QString ownToolTip(const QAction* action) {
    const QString tip = action->toolTip();
    return tip == action->iconText() ? QString() : tip;
}

// Adds the slot when the object is a W; true when it is.
template <typename W, typename Getter, typename Setter>
bool addAs(QObject* obj, const QString& key, Getter get, Setter set, QList<TextSlot>& out) {
    auto* w = qobject_cast<W*>(obj);
    if (!w) return false;
    out.append(
        {key, [w, get] { return (w->*get)(); }, [w, set](const QString& t) { (w->*set)(t); }});
    return true;
}

void addControl(QObject* obj, const QString& prefix, QList<TextSlot>& out) {
    const QString name = obj->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) return;
    // Texts the program composes itself (a version line, say) have no key.
    if (obj->property(NoLangTextProperty).toBool()) return;
    const QString base = prefix + QLatin1Char('.') + controlKey(obj);
    const QString caption = base + QStringLiteral(".Caption");
    const QString text = base + QStringLiteral(".Text");
    const QString toolTip = base + QStringLiteral(".ToolTipText");

    if (addAs<QAction>(obj, caption, &QAction::text, &QAction::setText, out)) {
        auto* action = static_cast<QAction*>(obj);
        out.append({toolTip, [action] { return ownToolTip(action); },
                    [action](const QString& t) { action->setToolTip(t); }});
        return;
    }
    auto* widget = qobject_cast<QWidget*>(obj);
    if (!widget) return;
    // Item views: only their column headers, and none for a hidden header (a
    // plain tree), whose model would offer its section numbers.
    if (auto* view = qobject_cast<QTreeView*>(widget)) {
        if (!view->isHeaderHidden()) addColumnHeaders(view->model(), base, out);
        return;
    }
    if (auto* view = qobject_cast<QTableView*>(widget)) {
        if (!view->horizontalHeader()->isHidden()) addColumnHeaders(view->model(), base, out);
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i)
            out.append({base + QStringLiteral(".TabCaption[%1]").arg(i),
                        [tabs, i] { return tabs->tabText(i); },
                        [tabs, i](const QString& t) { tabs->setTabText(i, t); }});
        return;
    }
    if (auto* bar = qobject_cast<QTabBar*>(widget)) {
        for (int i = 0; i < bar->count(); ++i)
            out.append({base + QStringLiteral(".Tabs[%1].Caption").arg(i + 1),
                        [bar, i] { return bar->tabText(i); },
                        [bar, i](const QString& t) { bar->setTabText(i, t); }});
        return;
    }

    // At most one of these matches: a control has a caption or a text.
    addAs<QLabel>(widget, caption, &QLabel::text, &QLabel::setText, out) ||
        addAs<QAbstractButton>(widget, caption, &QAbstractButton::text, &QAbstractButton::setText,
                               out) ||
        addAs<QGroupBox>(widget, caption, &QGroupBox::title, &QGroupBox::setTitle, out) ||
        addAs<QMenu>(widget, caption, &QMenu::title, &QMenu::setTitle, out) ||
        addAs<QLineEdit>(widget, text, &QLineEdit::text, &QLineEdit::setText, out) ||
        addAs<QTextEdit>(widget, text, &QTextEdit::toPlainText, &QTextEdit::setPlainText, out) ||
        addAs<QPlainTextEdit>(widget, text, &QPlainTextEdit::toPlainText,
                              &QPlainTextEdit::setPlainText, out);
    addAs<QWidget>(widget, toolTip, &QWidget::toolTip, &QWidget::setToolTip, out);
}

// Controls whose children are Qt's own parts (scroll buttons, viewports,
// editors), not controls of the form.
bool isLeafControl(const QObject* obj) {
    return qobject_cast<const QTabBar*>(obj) || qobject_cast<const QAbstractItemView*>(obj) ||
           qobject_cast<const QAbstractSpinBox*>(obj) || qobject_cast<const QComboBox*>(obj) ||
           qobject_cast<const QLineEdit*>(obj) || qobject_cast<const QTextEdit*>(obj) ||
           qobject_cast<const QPlainTextEdit*>(obj) || qobject_cast<const QAbstractButton*>(obj) ||
           qobject_cast<const QLabel*>(obj);
}

void walk(QObject* parent, const QString& prefix, QList<TextSlot>& out) {
    for (QObject* child : parent->children()) {
        // Menus are popup windows of this form; any other window is a form itself.
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow() && !qobject_cast<QMenu*>(widget)) continue;
        addControl(child, prefix, out);
        if (!isLeafControl(child)) walk(child, prefix, out);
    }
}

QList<TextSlot> formSlots(QWidget* form, const QString& projectID) {
    QString prefix = projectID.isEmpty() ? QString() : projectID + QLatin1Char('.');
    prefix += form->objectName().isEmpty() ? QString::fromLatin1(form->metaObject()->className())
                                           : form->objectName();
    QList<TextSlot> out;
    out.append({prefix + QStringLiteral(".Caption"), [form] { return form->windowTitle(); },
                [form](const QString& t) { form->setWindowTitle(t); }});
    walk(form, prefix, out);
    return out;
}

} // namespace

void SetFormLang(const clsMUI& lang, QWidget* form) {
    if (!form || !lang.IsLoaded()) return;
    for (const TextSlot& slot : formSlots(form, lang.ProjectID()))
        if (lang.HasText(slot.key)) slot.set(toWidget(lang.TextObj(slot.key)));
}

void SetFormLang(QWidget* form) {
    const clsMUI* lang = mainMod::Lang();
    if (lang && lang->LCID() > 0) SetFormLang(*lang, form);
}

void CaptureFormData(clsMUI& lang, QWidget* form) {
    if (!form) return;
    for (const TextSlot& slot : formSlots(form, lang.ProjectID())) {
        const QString value = slot.get();
        if (!value.isEmpty()) lang.StoreText(slot.key, fromWidget(value));
    }
}

QStringList FormLangKeys(QWidget* form, const QString& projectID) {
    QStringList keys;
    if (form)
        for (const TextSlot& slot : formSlots(form, projectID))
            keys.append(slot.key);
    return keys;
}

} // namespace FormLang
