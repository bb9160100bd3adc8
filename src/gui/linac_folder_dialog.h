#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kova::gui {

/// "Linac folder...": the folder read when KOVA X starts from a folder without a Linacs
/// folder and without --linacs, typed or picked, or cleared for the installed demo linacs.
class LinacFolderDialog : public QDialog {
    Q_OBJECT

public:
    /// `inUse` and `why`: the folder read in this run and why; `chosen`: the folder chosen
    /// so far (empty for none).
    LinacFolderDialog(const QString& inUse, const QString& why, const QString& chosen,
                      QWidget* parent = nullptr);

    /// The folder to keep after OK: empty for none.
    QString chosenFolder() const;

    QLineEdit* Folder = nullptr;
    QPushButton* BrowseBtn = nullptr;
    QPushButton* ClearBtn = nullptr;
    QLabel* ReasonLine = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private slots:
    void BrowseBtnClick();
    void OKBtnClick();
};

} // namespace kova::gui
