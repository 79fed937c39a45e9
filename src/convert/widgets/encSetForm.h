#pragma once
// "Encoding Settings": the MP3 and WMA choices in the application settings.
//
// The caller sets FileType (0 MP3, 1 WMA) and shows the dialog modally; it
// opens on that format's tab. OK stores the selected tab's choices into the
// settings and sets OkPressed; Cancel stores nothing.
#include "core/AppSettings.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QTabBar;

class encSetForm : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int FileType READ FileType WRITE SetFileType)

public:
    explicit encSetForm(AppSettings& settings, QWidget* parent = nullptr);

    int FileType() const { return m_format; }
    void SetFileType(int format);
    bool OkPressed() const { return m_ok; }
    // Texts of the current language, also for the entries the dialog fills itself.
    void applyLanguage();

    QTabBar* TabStrip1 = nullptr;
    QLabel* lblMode = nullptr;
    QComboBox* cmbMode = nullptr;
    QLabel* lblBitrate = nullptr;
    QComboBox* cmbBitrate = nullptr;
    QLabel* lblChannel = nullptr;
    QComboBox* cmbChannel = nullptr;
    QGroupBox* vbrFrame = nullptr;
    QSlider* sVBRQuality = nullptr;
    QLabel* lblSmaller = nullptr;
    QLabel* lblBetter = nullptr;
    QPushButton* okBUT = nullptr;
    QPushButton* cancelBUT = nullptr;

private:
    void build();
    // Shows the stored values of a format.
    void showStored(int format);
    // Refills the bit-rate list for the mode; selects bitrate when listed, else the first.
    void fillBitrates(int mode, int bitrate);
    void updateVisibility();
    void store();

    AppSettings& m_settings;
    int m_format = 0;
    bool m_ok = false;
};
