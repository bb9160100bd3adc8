#include "gui/select_mlc_field_dialog.h"

#include "gui/dialog_parts.h"
#include "gui/qt_text.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace kova::gui {
namespace {

constexpr int kPicture = MLCPicture::kSize;

QPushButton* Named(QPushButton* button, const char* name) {
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

QImage MLCPictureImage(const MLCPicture& picture) {
    QImage image(kPicture, kPicture, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    for (int y = 0; y < kPicture; ++y) {
        for (int x = 0; x < kPicture; ++x) {
            image.setPixel(x, y, picture.IsBlack(x, y) ? 1 : 0);
        }
    }
    return image;
}

SelectMLCFieldDialog::SelectMLCFieldDialog(const MLCFieldList& list, QWidget* parent)
    : QDialog(parent), m_list(list) {
    setObjectName(QStringLiteral("SelectMLCFieldDialog"));
    setWindowTitle(tr("Select a Multileaf Field"));

    FileLabel = new QLabel(ToQ(m_list.fileName));
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    FileLabel->setAlignment(Qt::AlignCenter);

    m_model = new QStandardItemModel(this);
    FillModel();
    m_views = BuildViews();

    IconsBtn = Named(new QPushButton(tr("Icons")), "IconsBtn");
    DetailsBtn = Named(new QPushButton(tr("Details")), "DetailsBtn");
    auto* box = NewOkCancelBox(this, QStringLiteral("OKBtn"), QStringLiteral("CancelBtn"));
    OKBtn = box->button(QDialogButtonBox::Ok);
    CancelBtn = box->button(QDialogButtonBox::Cancel);
    // The view switches change no choice: they stay left of the dialog's buttons.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(IconsBtn);
    buttons->addWidget(DetailsBtn);
    buttons->addWidget(box, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FileLabel);
    layout->addWidget(m_views, 1);
    layout->addLayout(buttons);
    resize(560, 360);

    connect(IconsBtn, &QPushButton::clicked, this, [this] { ShowDetails(false); });
    connect(DetailsBtn, &QPushButton::clicked, this, [this] { ShowDetails(true); });
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    if (m_model->rowCount() > 0) {
        FieldListView->setCurrentIndex(m_model->index(0, 0));
    }
}

QStackedWidget* SelectMLCFieldDialog::BuildViews() {
    FieldListView = new QListView;
    FieldListView->setObjectName(QStringLiteral("FieldListView"));
    FieldListView->setViewMode(QListView::IconMode);
    FieldListView->setResizeMode(QListView::Adjust);
    FieldListView->setMovement(QListView::Static);
    FieldListView->setIconSize(QSize(kPicture, kPicture));
    FieldListView->setWordWrap(true);
    FieldListView->setModel(m_model);

    FieldDetailView = new QTreeView;
    FieldDetailView->setObjectName(QStringLiteral("FieldDetailView"));
    FieldDetailView->setRootIsDecorated(false);
    FieldDetailView->setUniformRowHeights(true);
    FieldDetailView->setIconSize(QSize(kPicture / 4, kPicture / 4));
    FieldDetailView->setModel(m_model);
    // One selection for both views: switching views keeps the chosen field.
    FieldDetailView->setSelectionModel(FieldListView->selectionModel());
    FieldDetailView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(FieldListView),
                                    static_cast<QAbstractItemView*>(FieldDetailView)}) {
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        connect(view, &QAbstractItemView::activated, this, &QDialog::accept);
    }
    auto* views = new QStackedWidget;
    views->addWidget(FieldListView);
    views->addWidget(FieldDetailView);
    return views;
}

void SelectMLCFieldDialog::FillModel() {
    const auto& columns = MLCFieldColumns();
    m_model->setColumnCount(static_cast<int>(columns.size()));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        m_model->setHorizontalHeaderItem(static_cast<int>(c),
                                         new QStandardItem(QString::fromLatin1(columns[c])));
    }
    for (const MLCField& field : m_list.fields) {
        QList<QStandardItem*> row;
        for (const std::string& text : MLCFieldTexts(field)) {
            row.append(new QStandardItem(ToQ(text)));
        }
        row.front()->setIcon(QIcon(QPixmap::fromImage(MLCPictureImage(field.picture))));
        for (QStandardItem* item : row) {
            item->setEditable(false);
        }
        m_model->appendRow(row);
    }
}

void SelectMLCFieldDialog::ShowDetails(bool details) {
    m_views->setCurrentWidget(details ? static_cast<QWidget*>(FieldDetailView) : FieldListView);
}

int SelectMLCFieldDialog::selectedIndex() const {
    const QModelIndexList selected = FieldListView->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().row();
}

const MLCField* SelectMLCFieldDialog::selectedField() const {
    const int index = selectedIndex();
    return index < 0 ? nullptr : &m_list.fields[static_cast<std::size_t>(index)];
}

} // namespace kova::gui
