#include "library/widgets/wizForm.h"

#include "core/Dialogs.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/mmFoldersForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Step-label colours (the label of a passed step, of the current one).
const QColor PassedColour(0x40, 0x40, 0x40);
const QColor CurrentColour(0x00, 0x00, 0xFF);

template <typename W> W* arrayControl(const char* name, int index, QWidget* parent) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("index", index);
    return w;
}

} // namespace

wizForm::wizForm(MediaFolderStore& folders, std::function<bool(bool)> refresh, QWidget* parent)
    : QDialog(parent), m_folders(folders), m_refresh(std::move(refresh)) {
    setObjectName(QStringLiteral("wizForm"));
    setWindowTitle(QStringLiteral("Library Wizard"));
    setModal(true);

    static const char* const steps[StepCount] = {"Welcome", "Media folders", "Scan", "Scanning",
                                                 "Done"};
    static const char* const texts[StepCount] = {
        "Welcome to Quavero!||This wizard fills your music library. First you choose the "
        "folders that hold your music; then Quavero reads the files in them.||Click Next to "
        "begin.",
        "Click Next to choose your media folders: the folders in which your music files are "
        "kept. Their subfolders are included.",
        "Your media folders are set. Click Next to read the music files in them into your "
        "library. This can take a few minutes for a large collection.",
        "Your library is being filled. Please wait...",
        "Your library is ready.||You can add or remove media folders at any time with Library > "
        "Edit Media Folders, and read them again with Library > Refresh Contents."};

    auto* stepColumn = new QVBoxLayout;
    auto* frames = new QVBoxLayout;
    for (int i = 0; i < StepCount; ++i) {
        QLabel* step = arrayControl<QLabel>("lbl", i, this);
        step->setText(QString::fromLatin1(steps[i]));
        lbl.append(step);
        stepColumn->addWidget(step);

        QFrame* frame = arrayControl<QFrame>("wFrame", i, this);
        auto* frameLayout = new QVBoxLayout(frame);
        frameLayout->setContentsMargins(0, 0, 0, 0);
        QLabel* text = arrayControl<QLabel>("wText", i, frame);
        text->setText(
            QString::fromLatin1(texts[i]).replace(QStringLiteral("||"), QStringLiteral("\n\n")));
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        wText.append(text);
        frameLayout->addWidget(text);
        if (i == 3) {
            scanPC = new QLabel(frame);
            scanPC->setObjectName(QStringLiteral("scanPC"));
            scanPC->setProperty(FormLang::NoLangTextProperty, true);
            frameLayout->addWidget(scanPC);
        }
        frameLayout->addStretch(1);
        frame->setVisible(i == 0);
        wFrame.append(frame);
        frames->addWidget(frame);
    }
    stepColumn->addStretch(1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);

    nextBUT = new QPushButton(QStringLiteral("&Next >"), this);
    nextBUT->setObjectName(QStringLiteral("nextBUT"));
    nextBUT->setDefault(true);
    closeBut = new QPushButton(QStringLiteral("&Close"), this);
    closeBut->setObjectName(QStringLiteral("closeBut"));
    connect(nextBUT, &QPushButton::clicked, this, &wizForm::Next);
    connect(closeBut, &QPushButton::clicked, this, &QDialog::reject);

    auto* body = new QHBoxLayout;
    body->addLayout(stepColumn);
    body->addWidget(line);
    body->addLayout(frames, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(nextBUT);
    buttons->addWidget(closeBut);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    setMinimumSize(520, 300);
    resize(560, 320);
    showStep(0);
}

void wizForm::showStep(int step) {
    if (m_step >= 0 && m_step < StepCount) wFrame[m_step]->setVisible(false);
    m_step = step;
    wFrame[m_step]->setVisible(true);
    for (int i = 0; i < m_step && i < StepCount; ++i) {
        QPalette p = lbl[i]->palette();
        p.setColor(QPalette::WindowText, PassedColour);
        lbl[i]->setPalette(p);
        lbl[i]->setFont(font());
    }
    QPalette p = lbl[m_step]->palette();
    p.setColor(QPalette::WindowText, CurrentColour);
    lbl[m_step]->setPalette(p);
    QFont bold = font();
    bold.setBold(true);
    lbl[m_step]->setFont(bold);
}

void wizForm::Next() {
    switch (m_step) {
    case 0:
        showStep(1);
        break;
    case 1: {
        auto* editor = new mmFoldersForm(m_folders, this);
        editor->setAttribute(Qt::WA_DeleteOnClose);
        FormLang::SetFormLang(editor);
        connect(editor, &QDialog::finished, this,
                [this, editor](int) { foldersClosed(editor->Changed()); });
        editor->open();
        break;
    }
    case 2:
        setEnabled(false);
        scanPC->clear();
        showStep(3);
        // Nothing to wait for when the refresh could not start (it said why).
        if (!m_refresh || !m_refresh(true)) LibRefreshComplete();
        break;
    case 3:
        setEnabled(true);
        showStep(4);
        closeBut->setVisible(false);
        nextBUT->setText(mainMod::LangText(139).isEmpty() ? QStringLiteral("&Finish")
                                                          : mainMod::LangText(139));
        nextBUT->setDefault(true);
        nextBUT->setFocus();
        break;
    default:
        accept();
        break;
    }
}

void wizForm::foldersClosed(bool changed) {
    if (m_step != 1) return;
    if (changed) {
        showStep(2);
        return;
    }
    Dialogs::current().MsgBox(mainMod::LangText(137), Dialogs::OkOnly | Dialogs::Exclamation,
                              mainMod::LangText(138));
}

void wizForm::LibRefreshComplete() {
    if (m_step == 3) Next();
}

void wizForm::RefreshProgress(float percent) {
    if (m_step != 3) return;
    const int done = static_cast<int>(std::clamp(std::floor(percent), 0.0f, 100.0f));
    scanPC->setText(mainMod::LangText(21, {QString::number(done)}));
}
