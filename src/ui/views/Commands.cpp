#include "views/Commands.h"

#include "model/NodeTypes.h"

namespace {
QKeySequence K(QKeyCombination key) { return QKeySequence(key); }
}  // namespace

const std::vector<ViewCommand>& ViewFileMenu()
{
    static const std::vector<ViewCommand> table = {
        {cmd::NEW, CMD_NEW, "&Neu...\tStrg+N", {K(Qt::CTRL | Qt::Key_N), K(Qt::Key_Insert)}},
        {cmd::OPEN, CMD_OPEN, "Ö&ffnen...\tStrg+O", {K(Qt::CTRL | Qt::Key_O), K(Qt::Key_Return), K(Qt::Key_Enter)}},
        {cmd::CLOSE, CMD_CLOSE, "&Schließen", {}},
        {cmd::SAVE, CMD_SAVE, "S&peichern\tStrg+S", {K(Qt::CTRL | Qt::Key_S)}},
        {cmd::DELETE_, CMD_DELETE, "Löschen", {K(Qt::Key_Delete)}},
        {cmd::PROPERTIES, CMD_PROPERTIES, "Eigenschaften...", {K(Qt::ALT | Qt::Key_Return), K(Qt::ALT | Qt::Key_Enter)}},
        {0, CMD_SEP_6, nullptr, {}},
        {cmd::DEVICE_DIRECTORY, CMD_DEVICE_DIRECTORY, "Inhaltsverzeichnis PX920...", {}},
        {cmd::DEVICE_LOAD, CMD_DEVICE_LOAD, "Laden PX920...", {}},
        {cmd::DEVICE_READ, CMD_DEVICE_READ, "Lesen PX920...", {}},
        {cmd::DEVICE_DELETE, CMD_DEVICE_DELETE, "Löschen PX920...", {}},
        {cmd::KEYBOARD, CMD_KEYBOARD, "Betriebstastatur...", {}},
        {0, CMD_SEP_12, nullptr, {}},
        {cmd::EPROM, CMD_EPROM, "Eprom...", {}},
        {cmd::PAKDAT, CMD_PAKDAT, "PAKDAT...", {}},
        {cmd::ROMGEN, CMD_ROMGEN, "ROMGEN...", {}},
        {cmd::TEVOWIN, CMD_TEVOWIN, "TEVOWIN", {}},
        {0, CMD_SEP_17, nullptr, {}},
        {cmd::PRINTER_FONT, CMD_PRINTER_FONT, "Drucker-Schriftart...", {}},
        {cmd::PAGE_SETUP, CMD_PAGE_SETUP, "Seite einrichten...", {}},
        {cmd::PRINT_SETUP, CMD_PRINTER_SETUP, "Drucker&einrichtung...", {}},
        {cmd::PRINT, CMD_PRINT, "&Drucken...\tStrg+P", {K(Qt::CTRL | Qt::Key_P)}},
        {0, CMD_SEP_22, nullptr, {}},
        {cmd::CLOSE_PROJECT, CMD_CLOSE_PROJECT, "Schließen Projekt", {}},
    };
    return table;
}

const std::vector<ViewCommand>& ViewEditMenu()
{
    static const std::vector<ViewCommand> table = {
        {cmd::COPY, CMD_COPY, "&Kopieren\tStrg+C", {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)}},
        {cmd::PASTE, CMD_PASTE, "E&infügen\tStrg+V", {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)}},
        {cmd::CUT, CMD_CUT, "&Ausschneiden\tStrg+X", {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)}},
        {0, CMD_SEP_33, nullptr, {}},
        {cmd::WORK_LIST, CMD_WORK_LIST, "&Bearbeitungsliste\tStrg+W", {K(Qt::CTRL | Qt::Key_W)}},
    };
    return table;
}

const std::vector<ViewCommand>& ViewHiddenCommands()
{
    static const std::vector<ViewCommand> table = {
        {cmd::ONLINE_PICTURE, CMD_ONLINE_PICTURE, nullptr, {K(Qt::CTRL | Qt::Key_F1)}},
        {cmd::ONLINE_SYMBOLS, CMD_ONLINE_SYMBOLS, nullptr, {K(Qt::CTRL | Qt::Key_F2)}},
    };
    return table;
}

const ViewCommand* FindViewCommand(int id)
{
    if (id == 0) return nullptr;
    for (const auto* table : {&ViewFileMenu(), &ViewEditMenu(), &ViewHiddenCommands()})
        for (const ViewCommand& c : *table)
            if (c.id == id) return &c;
    return nullptr;
}
