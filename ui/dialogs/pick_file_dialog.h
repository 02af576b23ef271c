// Pick a File: the directory of a disk or tape image, the banks of a cartridge or the members of an
// archive, as the C64 lists them; the chosen entry is loaded.
#pragma once

#include "core/character_rom.h"
#include "core/container.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class PickFileDialog final : public QDialog {
    Q_OBJECT

public:
    // `rom`: names are drawn with its glyphs; without one, in a fixed-pitch font, upper case.
    PickFileDialog(const mosaiqua::ContainerListing& listing,
                   const std::optional<mosaiqua::CharacterRom>& rom, QWidget* parent = nullptr);

    // The pick that leads to the chosen entry ("#N", or "bankN" for a cartridge); empty when the
    // current row cannot be loaded.
    std::string ChosenPick() const;
    // Where a SEQ or USR file is to load, as typed in "Load at"; nothing for other files or an empty box.
    std::optional<int> ChosenAddress() const;
    QListWidget* Entries() const { return m_entries; }

private:
    void AddRows(const mosaiqua::ContainerListing& listing);
    void FollowCurrentRow();
    // Loads the chosen entry unless the typed address is not one.
    void AcceptIfReady();

    QLabel* m_header = nullptr;
    QListWidget* m_entries = nullptr;
    QLabel* m_footer = nullptr;
    QPushButton* m_load = nullptr;
    QLineEdit* m_loadAt = nullptr;
    QLabel* m_problem = nullptr;
    const std::optional<mosaiqua::CharacterRom> m_rom;
};
