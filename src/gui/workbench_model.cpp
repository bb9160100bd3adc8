#include "gui/workbench_model.h"

#include "core/workbench/workbench_text.h"
#include "gui/icons.h"
#include "gui/qt_text.h"
#include "gui/workbench_node.h"

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
        node->trace = line.trace;
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

/// Every row of `kind` (a patient, treatment or beam) in tree order.
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

} // namespace

WorkbenchModel::WorkbenchModel(Workbench& workbench, QObject* parent)
    : QAbstractItemModel(parent), m_workbench(workbench),
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

std::shared_ptr<const Trace> WorkbenchModel::TraceAt(const QModelIndex& index) const {
    return index.isValid() ? NodeOf(index)->trace : nullptr;
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

QModelIndex WorkbenchModel::AddPatient() {
    const int row = static_cast<int>(m_root->children.size());
    beginInsertRows({}, row, row);
    m_root->children.push_back(PatientRow(m_workbench.AddPatient(), m_root.get(), m_levels));
    endInsertRows();
    emit WorkbenchEdited();
    return index(row, 0);
}

QModelIndex WorkbenchModel::AddTreatment(const QModelIndex& patient,
                                         std::unique_ptr<TTreatment> treatment) {
    Node* node = NodeOf(patient);
    if (node->kind != NodeKind::Patient || !treatment) {
        return {};
    }
    const int row = static_cast<int>(node->children.size());
    beginInsertRows(patient, row, row);
    TTreatment& added = m_workbench.AddTreatment(*node->patient, std::move(treatment));
    node->children.push_back(TreatmentRow(added, node, m_levels));
    endInsertRows();
    emit WorkbenchEdited();
    return index(row, 0, patient);
}

QModelIndex WorkbenchModel::AddBeam(const QModelIndex& treatment, std::unique_ptr<TBeam> beam) {
    Node* node = NodeOf(treatment);
    if (node->kind != NodeKind::Treatment || !beam) {
        return {};
    }
    const int row = static_cast<int>(node->children.size());
    beginInsertRows(treatment, row, row);
    node->children.push_back(BeamRow(node->treatment->AddBeam(std::move(beam)), node, m_levels));
    endInsertRows();
    ShowInformationLines(node);
    emit WorkbenchEdited();
    return index(row, 0, treatment);
}

bool WorkbenchModel::Delete(const QModelIndex& index) {
    Node* node = NodeOf(index);
    if (!index.isValid() || !IsRecord(node->kind)) {
        return false;
    }
    Node* parent = node->parent;
    const int row = index.row();
    beginRemoveRows(index.parent(), row, row);
    // The row goes first: it points to the record.
    const std::unique_ptr<Node> gone = std::move(parent->children[static_cast<std::size_t>(row)]);
    parent->children.erase(parent->children.begin() + row);
    if (gone->kind == NodeKind::Patient) {
        m_workbench.DeletePatient(gone->patient);
    } else if (gone->kind == NodeKind::Treatment) {
        m_workbench.DeleteTreatment(gone->treatment);
    } else {
        m_workbench.DeleteBeam(gone->beam);
    }
    endRemoveRows();
    if (gone->kind == NodeKind::Beam) {
        ShowInformationLines(parent);
    }
    emit WorkbenchEdited();
    return true;
}

void WorkbenchModel::BeamEdited(const QModelIndex& beam) {
    if (KindOf(beam) == NodeKind::Beam) {
        RefreshBeam(beam);
        emit WorkbenchEdited();
    }
}

QModelIndex WorkbenchModel::ShowImported(const Patient& patient) {
    const auto& patients = m_workbench.patients();
    const auto found =
        std::find_if(patients.begin(), patients.end(),
                     [&patient](const auto& owned) { return owned.get() == &patient; });
    if (found == patients.end()) {
        return {};
    }
    const int row = static_cast<int>(found - patients.begin());
    const auto shown =
        std::find_if(m_root->children.begin(), m_root->children.end(),
                     [&patient](const auto& node) { return node->patient == &patient; });
    if (shown == m_root->children.end()) {
        beginInsertRows({}, row, row);
        m_root->children.insert(m_root->children.begin() + row,
                                PatientRow(**found, m_root.get(), m_levels));
        endInsertRows();
    } else if ((*shown)->children.size() < patient.treatments.size()) {
        Node* node = shown->get();
        const int first = static_cast<int>(node->children.size());
        beginInsertRows(IndexOf(node), first, static_cast<int>(patient.treatments.size()) - 1);
        for (std::size_t i = node->children.size(); i < patient.treatments.size(); ++i) {
            node->children.push_back(TreatmentRow(*patient.treatments[i], node, m_levels));
        }
        endInsertRows();
    }
    emit WorkbenchEdited();
    return index(row, 0);
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

void WorkbenchModel::LinacEdited(const TLinacSpec* linac) {
    for (Node* node : RecordsOf(m_root.get(), NodeKind::Treatment)) {
        if (node->treatment->linac == linac) {
            ShowInformationLines(node);
        }
    }
}

void WorkbenchModel::SetActionLevels(const ActionLevels& levels) {
    m_levels = levels;
    for (Node* node : RecordsOf(m_root.get(), NodeKind::Beam)) {
        ShowBeamLines(node);
    }
}

void WorkbenchModel::Replace(Workbench&& workbench) {
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
        node->trace = lines[i].trace;
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
        *name = text;
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
        emit WorkbenchEdited();
    }
    return true;
}

} // namespace kova::gui
