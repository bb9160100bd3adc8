#pragma once

#include "core/mlc/mlc_field.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QListView;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTreeView;

namespace kova::gui {

/// The 64 x 64 picture of a leaf shape as a one-bit image: black leaves on white.
QImage MLCPictureImage(const MLCPicture& picture);

/// Lists the fields of one multileaf file so the user picks one: each field as its picture
/// with its name below (the icon view), or as the eight columns name, gantry, area, left,
/// right, bottom, top and perimeter (the detail view); the file name on top. The first field
/// is selected. The dialog only shows the list it is given; the caller reads the choice.
class SelectMLCFieldDialog : public QDialog {
    Q_OBJECT

public:
    explicit SelectMLCFieldDialog(const MLCFieldList& list, QWidget* parent = nullptr);

    /// Index in the list of the selected field, or -1 when none is selected.
    int selectedIndex() const;
    /// The selected field, or none.
    const MLCField* selectedField() const;
    /// The file's name without its folder, as shown on top.
    const std::string& MLCFileName() const { return m_list.fileName; }

    QLabel* FileLabel = nullptr;
    QListView* FieldListView = nullptr;   ///< icon view
    QTreeView* FieldDetailView = nullptr; ///< detail view, the same items and selection
    QPushButton* IconsBtn = nullptr;
    QPushButton* DetailsBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

public slots:
    /// Shows the icon view (false) or the detail view (true).
    void ShowDetails(bool details);

private:
    void FillModel();
    QStackedWidget* BuildViews();

    MLCFieldList m_list; ///< a copy: the caller may drop its list while the dialog is open
    QStandardItemModel* m_model = nullptr;
    QStackedWidget* m_views = nullptr;
};

} // namespace kova::gui
