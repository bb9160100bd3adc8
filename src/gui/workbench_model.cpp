#include "gui/workbench_model.h"

#include "core/text/date_text.h"
#include "core/workbench/workbench_text.h"
#include "gui/icons.h"
#include "gui/qt_text.h"
#include "gui/workbench_node.h"
#include "gui/workbench_undo.h"

#include <QUndoStack>
#include <algorithm>
#include <iterator>

namespace kova::gui {

namespace {

using Node = WorkbenchNode;
using Rows = std::vector<std::unique_ptr<Node>>;

/// The image of a record's row (see WorkbenchIcon); -1 for a line.
int RecordImage(NodeKind kind) {
    switch (kind) {
    case NodeKind::Patient:
        return 0;
    case NodeKind::Treatment:
        return 1;
    case NodeKind::Beam:
        return 2;
    default:
        return -1;
    }
}

std::string* NameOf(Node& node) {
    switch (node.kind) {
    case NodeKind::Patient:
        return &node.patient->name;
    case NodeKind::Treatment:
        return &node.treatment->name;
    case NodeKind::Beam:
        return &node.beam->name;
    default:
        return nullptr;
    }
}

std::unique_ptr<Node> NewNode(NodeKind kind, Node* parent) {
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->parent = parent;
    return node;
}

Rows LineRows(const std::vector<TextNode>& lines, Node* parent) {
    Rows rows;
    for (const TextNode& line : lines) {
        auto node = NewNode(NodeKind::Line, parent);
        node->text = ToQ(line.text);
        node->image = line.image;
        node->children = LineRows(line.children, node.get());
        rows.push_back(std::move(node));
    }
    return rows;
}

std::vector<TextNode> InformationLines(const TTreatment& treatment) {
    std::vector<TextNode> lines;
    for (const std::string& line : treatment.InformationLines()) {
        lines.push_back({line, -1, {}});
    }
    return lines;
}

} // namespace

std::unique_ptr<Node> BeamRow(TBeam& beam, Node* parent, const ActionLevels& levels) {
    auto node = NewNode(NodeKind::Beam, parent);
    node->beam = &beam;
    // The tree and Copy show the same lines.
    node->children = LineRows(BeamNode(beam, levels).children, node.get());
    return node;
}

std::unique_ptr<Node> TreatmentRow(TTreatment& treatment, Node* parent,
                                   const ActionLevels& levels) {
    auto node = NewNode(NodeKind::Treatment, parent);
    node->treatment = &treatment;
    node->children = LineRows(InformationLines(treatment), node.get());
    for (const auto& beam : treatment.beams) {
        node->children.push_back(BeamRow(*beam, node.get(), levels));
    }
    return node;
}

std::unique_ptr<Node> PatientRow(Patient& patient, Node* parent, const ActionLevels& levels) {
    auto node = NewNode(NodeKind::Patient, parent);
    node->patient = &patient;
    for (const auto& treatment : patient.treatments) {
        node->children.push_back(TreatmentRow(*treatment, node.get(), levels));
    }
    return node;
}

namespace {

int RowOf(const Node* node) {
    const Rows& siblings = node->parent->children;
    const auto found = std::find_if(siblings.begin(), siblings.end(),
                                    [node](const auto& sibling) { return sibling.get() == node; });
    return static_cast<int>(found - siblings.begin());
}

/// True when `rows` hold as many lines as `lines`, nested alike: then the new texts can go
/// into the rows shown, which stay expanded or folded as they are.
bool SameShape(std::span<const std::unique_ptr<Node>> rows, const std::vector<TextNode>& lines) {
    if (rows.size() != lines.size()) {
        return false;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!SameShape(rows[i]->children, lines[i].children)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<Node*> RecordsOf(const Node* root, NodeKind kind) {
    std::vector<Node*> found;
    for (const auto& patient : root->children) {
        if (kind == NodeKind::Patient) {
            found.push_back(patient.get());
        }
        for (const auto& treatment : patient->children) {
            if (kind == NodeKind::Treatment) {
                found.push_back(treatment.get());
            }
            for (const auto& row : treatment->children) {
                if (row->kind == kind) {
                    found.push_back(row.get());
                }
            }
        }
    }
    return found;
}

WorkbenchModel::WorkbenchModel(Workbench& workbench, QObject* parent)
    : QAbstractItemModel(parent), m_workbench(workbench), m_undo(new QUndoStack(this)),
      m_root(NewNode(NodeKind::Workbench, nullptr)) {
    for (int i = 0; i < kWorkbenchIconCount; ++i) {
        m_icons.push_back(WorkbenchIcon(i));
    }
    Rebuild();
}

WorkbenchModel::~WorkbenchModel() = default;

NodeKind WorkbenchModel::KindOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<NodeKind>(index.data(kKindRole).toInt())
                           : NodeKind::Workbench;
}

bool WorkbenchModel::MayDrop(const QModelIndex& dragged, const QModelIndex& target) {
    const NodeKind kind = KindOf(dragged);
    return (kind == NodeKind::Treatment || kind == NodeKind::Beam) && dragged != target &&
           dragged.model() == target.model() && KindOf(target) == kind &&
           dragged.parent() == target.parent();
}

Patient* WorkbenchModel::PatientAt(const QModelIndex& index) const {
    return NodeOf(index)->patient;
}

TTreatment* WorkbenchModel::TreatmentAt(const QModelIndex& index) const {
    return NodeOf(index)->treatment;
}

TBeam* WorkbenchModel::BeamAt(const QModelIndex& index) const {
    return NodeOf(index)->beam;
}

Node* WorkbenchModel::NodeOf(const QModelIndex& index) const {
    Q_ASSERT(!index.isValid() || index.model() == this);
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_root.get();
}

QModelIndex WorkbenchModel::IndexOf(const Node* node) const {
    if (node == nullptr || node == m_root.get()) {
        return {};
    }
    return createIndex(RowOf(node), 0, node);
}

void WorkbenchModel::Rebuild() {
    m_root->children.clear();
    for (const auto& patient : m_workbench.patients()) {
        m_root->children.push_back(PatientRow(*patient, m_root.get(), m_levels));
    }
}

void WorkbenchModel::RefreshBeam(const QModelIndex& beam) {
    Node* node = NodeOf(beam);
    if (!beam.isValid() || node->kind != NodeKind::Beam) {
        return;
    }
    // Its dialog may have renamed it.
    emit dataChanged(beam, beam);
    ShowBeamLines(node);
    ShowInformationLines(node->parent);
}

LinacChangeOutcome WorkbenchModel::LinacEdited(const TLinacSpec* linac) {
    // The history would bring back beams computed on the data before, or pointing at entries
    // removed since.
    m_undo->clear();
    const LinacChangeOutcome outcome = linac != nullptr
                                           ? ComputeAgainOn(m_workbench, *linac, SystemToday())
                                           : LinacChangeOutcome{};
    for (Node* node : RecordsOf(m_root.get(), NodeKind::Treatment)) {
        if (node->treatment->linac != linac) {
            continue;
        }
        ShowInformationLines(node);
        for (const auto& row : node->children) {
            if (row->kind == NodeKind::Beam) {
                ShowBeamLines(row.get());
            }
        }
    }
    return outcome;
}

void WorkbenchModel::SetActionLevels(const ActionLevels& levels) {
    m_levels = levels;
    for (Node* node : RecordsOf(m_root.get(), NodeKind::Beam)) {
        ShowBeamLines(node);
    }
}

void WorkbenchModel::Replace(Workbench&& workbench) {
    // The history's records belong to the workbench that goes.
    m_undo->clear();
    beginResetModel();
    // The rows point into the workbench that goes.
    m_root->children.clear();
    m_workbench = std::move(workbench);
    Rebuild();
    endResetModel();
}

void WorkbenchModel::ShowInformationLines(Node* treatment) {
    ShowLines(treatment, RowsOf(treatment, NodeKind::Line).end,
              InformationLines(*treatment->treatment));
}

void WorkbenchModel::ShowBeamLines(Node* beam) {
    ShowLines(beam, static_cast<int>(beam->children.size()),
              kova::BeamNode(*beam->beam, m_levels).children);
}

void WorkbenchModel::ShowLines(Node* parent, int count, const std::vector<TextNode>& lines) {
    Rows& rows = parent->children;
    const std::span<const std::unique_ptr<Node>> shown(rows.data(),
                                                       static_cast<std::size_t>(count));
    if (SameShape(shown, lines)) {
        UpdateLines(shown, lines);
        return;
    }
    // Lines of another shape (a wedge added, a beam computed on another energy): the old
    // rows go and the new ones come.
    const QModelIndex index = IndexOf(parent);
    if (count > 0) {
        beginRemoveRows(index, 0, count - 1);
        rows.erase(rows.begin(), rows.begin() + count);
        endRemoveRows();
    }
    if (!lines.empty()) {
        beginInsertRows(index, 0, static_cast<int>(lines.size()) - 1);
        Rows made = LineRows(lines, parent);
        rows.insert(rows.begin(), std::make_move_iterator(made.begin()),
                    std::make_move_iterator(made.end()));
        endInsertRows();
    }
}

void WorkbenchModel::UpdateLines(std::span<const std::unique_ptr<Node>> rows,
                                 const std::vector<TextNode>& lines) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Node* node = rows[i].get();
        const QString text = ToQ(lines[i].text);
        if (node->text != text || node->image != lines[i].image) {
            node->text = text;
            node->image = lines[i].image;
            const QModelIndex index = IndexOf(node);
            emit dataChanged(index, index);
        }
        UpdateLines(node->children, lines[i].children);
    }
}

QModelIndex WorkbenchModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    return createIndex(row, column, NodeOf(parent)->children[static_cast<std::size_t>(row)].get());
}

QModelIndex WorkbenchModel::parent(const QModelIndex& child) const {
    return child.isValid() ? IndexOf(NodeOf(child)->parent) : QModelIndex();
}

int WorkbenchModel::rowCount(const QModelIndex& parent) const {
    return parent.column() > 0 ? 0 : static_cast<int>(NodeOf(parent)->children.size());
}

int WorkbenchModel::columnCount(const QModelIndex& /*parent*/) const {
    return 1;
}

QVariant WorkbenchModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    Node* node = NodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const std::string* name = NameOf(*node);
        return name != nullptr ? ToQ(*name) : node->text;
    }
    case Qt::DecorationRole: {
        const int image = IsRecord(node->kind) ? RecordImage(node->kind) : node->image;
        if (image < 0 || image >= static_cast<int>(m_icons.size())) {
            return {};
        }
        return m_icons[static_cast<std::size_t>(image)];
    }
    case kKindRole:
        return static_cast<int>(node->kind);
    default:
        return {};
    }
}

Qt::ItemFlags WorkbenchModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (IsRecord(NodeOf(index)->kind)) {
        flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
    }
    return flags;
}

bool WorkbenchModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    std::string* name = index.isValid() ? NameOf(*NodeOf(index)) : nullptr;
    if (role != Qt::EditRole || name == nullptr) {
        return false;
    }
    const std::string text = FromQ(value.toString());
    if (*name != text) {
        const Node* node = NodeOf(index);
        const RecordRef record = node->kind == NodeKind::Patient     ? RecordRef(node->patient)
                                 : node->kind == NodeKind::Treatment ? RecordRef(node->treatment)
                                                                     : RecordRef(node->beam);
        m_undo->push(new RenameChange(*this, tr("Rename \u201c%1\u201d").arg(ToQ(*name)), record,
                                      *name, text));
    }
    return true;
}

} // namespace kova::gui
