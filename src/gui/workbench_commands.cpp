#include "gui/workbench_commands.h"

#include <QCoreApplication>
#include <algorithm>

namespace kova::gui {

Popup PopupFor(NodeKind selected) {
    switch (selected) {
    case NodeKind::Workbench:
        return Popup::Workbench;
    case NodeKind::Patient:
        return Popup::Patient;
    case NodeKind::Treatment:
        return Popup::Treatment;
    case NodeKind::Beam:
        return Popup::Beam;
    case NodeKind::Line:
        break;
    }
    return Popup::None;
}

const std::vector<std::optional<Command>>& PopupItems(Popup popup) {
    using C = Command;
    static const std::vector<std::optional<Command>> workbench{C::NewPatient, C::ImportPlan,
                                                               std::nullopt, C::Print};
    static const std::vector<std::optional<Command>> patient{
        C::NewPatient, C::Delete,    std::nullopt, C::NewTreatment,
        C::ImportPlan, std::nullopt, C::Print};
    static const std::vector<std::optional<Command>> treatment{C::Delete, std::nullopt, C::NewBeam};
    static const std::vector<std::optional<Command>> beam{C::Delete, std::nullopt, C::Edit};
    static const std::vector<std::optional<Command>> none;
    switch (popup) {
    case Popup::Workbench:
        return workbench;
    case Popup::Patient:
        return patient;
    case Popup::Treatment:
        return treatment;
    case Popup::Beam:
        return beam;
    case Popup::None:
        break;
    }
    return none;
}

bool CommandOffered(Command command, NodeKind selected) {
    const Popup popup = PopupFor(selected);
    switch (command) {
    case Command::Rename:
        return IsRecord(selected);
    case Command::Copy:
        return popup == Popup::Treatment || popup == Popup::Beam;
    default: {
        const auto& items = PopupItems(popup);
        return std::find(items.begin(), items.end(), command) != items.end();
    }
    }
}

QString CommandCaption(Command command) {
    switch (command) {
    case Command::NewPatient:
        return QCoreApplication::translate("kova::gui::Command", "New Patient");
    case Command::NewTreatment:
        return QCoreApplication::translate("kova::gui::Command", "New Treatment...");
    case Command::NewBeam:
        return QCoreApplication::translate("kova::gui::Command", "New Beam...");
    case Command::Delete:
        return QCoreApplication::translate("kova::gui::Command", "Delete");
    case Command::Edit:
        return QCoreApplication::translate("kova::gui::Command", "Edit...");
    case Command::Rename:
        return QCoreApplication::translate("kova::gui::Command", "Rename");
    case Command::Copy:
        return QCoreApplication::translate("kova::gui::Command", "Copy");
    case Command::Print:
        return QCoreApplication::translate("kova::gui::Command", "Print...");
    case Command::ImportPlan:
        return QCoreApplication::translate("kova::gui::Command", "Import RT Plan...");
    }
    return {};
}

QKeySequence CommandShortcut(Command command) {
    switch (command) {
    case Command::NewPatient:
        return QKeySequence::New;
    case Command::Delete:
        return QKeySequence::Delete;
    case Command::Rename:
        return QKeySequence(Qt::Key_F2);
    case Command::Copy:
        return QKeySequence::Copy;
    case Command::Print:
        return QKeySequence::Print;
    default:
        return {};
    }
}

} // namespace kova::gui
