// The CD information dialog as the main window uses it: for the audio-CD panel
// and for the list's selection taken as the tracks of one disc.
#include "cddb/CdInfo.h"
#include "cddb/CddbSettings.h"
#include "cddb/widgets/cddbForm.h"
#include "components/MediaLibrary.h"
#include "core/Dialogs.h"
#include "editing/DiscTags.h"
#include "lang/AppLang.h"
#include "library/widgets/mainForm.h"

bool mainForm::LookUpDisc(const QString& query, CdInfo& info) {
    if (query.isEmpty()) return false;
    cddbForm dialog(this);
    dialog.setCDDBQuery(query);
    dialog.exec();
    if (!dialog.Success()) return false;
    info = dialog.Disc();
    return true;
}

void mainForm::batchLookUpDisc() {
    const QList<qint64> selected = listIds(true);
    if (!m_mediaLib || selected.isEmpty()) return;
    if (selected.size() < 4) {
        // Albums have more tracks; with few files a match is unlikely.
        const QString service = cddb::ReadServerSettings().host;
        if (Dialogs::current().MsgBox(mainMod::LangText(43, {service}),
                                      Dialogs::YesNo | Dialogs::Question,
                                      mainMod::LangText(42)) != Dialogs::Yes)
            return;
    }
    const QString query = DiscTags::QueryForFiles(*m_mediaLib, selected);
    CdInfo disc;
    if (!LookUpDisc(query, disc)) return;
    DiscTags::Apply(*m_mediaLib->Tags(), selected, disc); // refused files stay as they were
    afterBatch(true);
}
