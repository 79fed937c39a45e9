#include "editing/widgets/fileCopyForm.h"

#include "core/widgets/WindowHelpers.h"
#include "lang/widgets/FormLang.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

fileCopyForm::fileCopyForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fileCopyForm"));
    setWindowTitle(QStringLiteral("Copying Files"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* from = new QLabel(QStringLiteral("From:"), this);
    from->setObjectName(QStringLiteral("lblFrom"));
    auto* to = new QLabel(QStringLiteral("To:"), this);
    to->setObjectName(QStringLiteral("lblTo"));
    for (int i = 0; i < 2; ++i) {
        cFile[i] = new QLabel(this);
        cFile[i]->setObjectName(QStringLiteral("cFile"));
        cFile[i]->setProperty("index", i);
        cFile[i]->setProperty(FormLang::NoLangTextProperty, true);
        cFile[i]->setTextFormat(Qt::PlainText);
        cFile[i]->setFixedWidth(PathWidth);
    }
    layout->addWidget(from);
    layout->addWidget(cFile[0]);
    layout->addWidget(to);
    layout->addWidget(cFile[1]);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    layout->addWidget(btCancel, 0, Qt::AlignRight);
    connect(btCancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        btCancel->setEnabled(false);
    });
    FormLang::SetFormLang(this);
}

void fileCopyForm::AddPair(const QString& source, const QString& destination) {
    m_job.AddPair(source, destination);
}

void fileCopyForm::setFailureHandler(std::function<Dialogs::Answer(const CopyFailure&)> handler) {
    m_failed = std::move(handler);
}

void fileCopyForm::setStartingHook(std::function<void(int)> hook) {
    m_starting = std::move(hook);
}

void fileCopyForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started) return;
    m_started = true;
    // After the window has been painted once.
    QTimer::singleShot(0, this, &fileCopyForm::runCopy);
}

void fileCopyForm::runCopy() {
    m_running = true;
    QCoreApplication::processEvents();
    CopyJob::Hooks hooks;
    hooks.starting = [this](int index, const QString& source, const QString& destination) {
        cFile[0]->setText(mainMod::CompactPath(source, PathWidth, 0, cFile[0]->font()));
        cFile[1]->setText(mainMod::CompactPath(destination, PathWidth, 0, cFile[1]->font()));
        if (m_starting) m_starting(index);
    };
    hooks.failed = m_failed;
    hooks.yield = [] { QCoreApplication::processEvents(); };
    hooks.cancelled = [this] { return m_cancelled; };
    m_result = m_job.Run(hooks);
    m_running = false;
    // Hands control back to the caller of exec().
    done(m_result == CopyJob::Finished ? QDialog::Accepted : QDialog::Rejected);
}

void fileCopyForm::closeEvent(QCloseEvent* event) {
    // Closing while copying counts as Cancel: the current file finishes first.
    if (m_running) {
        m_cancelled = true;
        btCancel->setEnabled(false);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void fileCopyForm::reject() {
    if (m_running) {
        m_cancelled = true;
        btCancel->setEnabled(false);
        return;
    }
    QDialog::reject();
}
