#include "ui/assets/help_text.h"

#include "ui/assets/web_links.h"

#include <initializer_list>

namespace {

class HelpWriter final {
public:
    void Heading(const char* heading) {
        const QString text = QString::fromLatin1(heading);
        if (!m_lines.isEmpty())
            m_lines.append(QString());
        m_lines.append(text);
        m_lines.append(QString(text.size(), u'-'));
        m_lines.append(QString());
    }
    void Lines(std::initializer_list<const char*> lines) {
        for (const char* line : lines)
            m_lines.append(QString::fromLatin1(line));
    }
    void Line(const QString& line) { m_lines.append(line); }
    QStringList Take() { return std::move(m_lines); }

private:
    QStringList m_lines;
};

void Introduction(HelpWriter& w) {
    w.Heading("Introduction");
    w.Lines({
        "Mosaiqua rips sprites and character sets out of Commodore 64 games. It reads a snapshot that an "
        "emulator saved while a game was running, holds the C64's 64K of memory and shows that memory the "
        "way the VIC-II video chip would draw it: as sprites on the \"Sprite Ripper\" page and as character "
        "sets on the \"CharSet Ripper\" page. Whatever you find can be saved as Windows bitmap (BMP) or PNG "
        "files or copied to the clipboard.",
        "",
        "Why was it written? C64 games are full of small, carefully drawn pixel art: players, monsters, "
        "fonts and title logos. Getting at them used to mean a machine code monitor, squared paper and a "
        "lot of patience. Mosaiqua turns that into a few minutes of work: freeze the game, open the file, "
        "step through memory until the graphics appear, and save them.",
    });
}

void SpriteRipper(HelpWriter& w) {
    w.Heading("How Does The Sprite Ripper Work?");
    w.Lines({
        "1. Get the CCS64 emulator and some games to run on it.",
        "",
        "2. Play a game until it shows the sprites you want, then save the emulator's state (a freeze file) "
        "from CCS64. The sprites must be in memory at that moment, so freeze while they are on the screen.",
        "",
        "3. In Mosaiqua choose \"Open CCS64 Freeze File\" on the File menu (Ctrl+O) and pick the freeze "
        "file. The open dialog starts in the folder set with \"Set Default File Directories\" on the "
        "Options menu.",
        "",
        "4. The \"Sprite Ripper\" page has three views. \"Current Sprite\" shows the 24 x 21 sprite at the "
        "address written above it, at actual size. \"Next 7 sprites (actual size)\" shows the seven sprites "
        "that follow it, with the addresses of the first and the last. \"Current Sprite Preview (enlarged "
        "x10)\" shows the current sprite ten times larger, so that every pixel can be seen.",
        "",
        "5. Step through memory with the buttons in the Controls box: \">\" and \"<\" move one sprite ($40 "
        "bytes) forward or back (F7 and F6), \">>\" and \"<<\" move $1000 bytes (F8 and F5), and \"|<\" and "
        "\">|\" jump to the beginning and the end of memory. The View menu has the same commands. Keep "
        "stepping until the views show something that looks like graphics rather than noise.",
        "",
        "6. Most games use multicolour sprites. If a sprite looks striped, press \"MCM\" (or Ctrl+M, "
        "\"Sprite Multicolour Mode Enable\" on the View menu): each pair of bits becomes one double-width "
        "pixel in one of four colours.",
        "",
        "7. Set the colours: click the small square beside \"MCM\" for the background, \"Col 2\" for the "
        "sprite's own colour and \"Col 1\" and \"Col 3\" for the two multicolours. The colours come from "
        "the palette chosen on the Options menu (\"Use CCS64 Colour Palette\", \"Use True VIC-II Colour "
        "Palette\", which is Pepto's PAL palette, Colodore, Community Colors, PALette 6569R5, or a VICE .vpl "
        "file read with \"Load Palette File\"); with \"Use Windows Standard Colour Palette\" any colour can "
        "be mixed. \"Reset Sprite "
        "Colours To Default\" on the Edit menu puts them back. When the sprite looks right, save it with "
        "\"Save Current Sprite\" on the File menu or copy it to the clipboard with Ctrl+C. The sizes the "
        "sprites are saved at are set with \"Set Save Sprite Settings\" on the Options menu. A name ending "
        "in \".png\" saves a PNG picture instead; \"Transparent Background In PNG\" on the Options menu "
        "leaves the background out of it. \"Save Sprite Animation\" saves the sprite and the ones after it "
        "as an animated GIF, and \"Save Raw Data\" saves the bytes themselves as a binary file or as "
        "assembler or C source.",
        "",
        "The open command recognises VICE snapshots (.vsf) and P00 files by their content and PRG files by "
        "their \".prg\" name, and puts their bytes where the C64 had them; the status bar says what was "
        "read. Every other file is read as a CCS64 freeze file. Untick \"Detect File Format\" on the "
        "Options menu to look at any file's raw bytes.",
        "",
        "A VICE snapshot also knows what was on the screen. \"Snapshot State\" on the View menu (Ctrl+G) "
        "lists the video bank, the screen, the character set and the eight sprites with their colours. "
        "Double-click a sprite to show it in the sprite viewer in its own mode and colours, or press \"Show "
        "Character Set\" to do the same for the character set.",
        "",
        "For editors: \"Save Sprites as SpritePad\" on the File menu saves the sprites of a memory range as "
        "a SpritePad .spd file in the viewer's mode and colours, and \"Save On-Screen Sprites as "
        "SpritePad\" in the Snapshot State window saves the sprites on the screen, each in its own mode and "
        "colour. \"Save CharSet as CharPad\" saves the character set in front as a CharPad .ctm file, with "
        "the snapshot's screen as its map when the screen is drawn with it. \"Save Raw Data\" also writes "
        "BASIC DATA lines, numbered from the first line in steps, ready to paste into an emulator.",
        "",
        "\"Memory Overview\" on the View menu (Ctrl+L) shows all 64K at once, as sprites or as character "
        "sets for the page in front. Click anywhere to move the viewer there (hold Shift on the character "
        "page for the exact character). \"Find Graphics\" tints the places that look like graphics, and "
        "\"Next Find\" and \"Previous Find\" (F3 and Shift+F3 in that window) step through them, best first.",
        "",
        "\"Screen\" on the View menu (Ctrl+D) shows the whole screen as the C64 drew it from the snapshot: "
        "border, text or bitmap in its mode and colours, and the sprites. Untick \"Sprites\" or \"Border\" "
        "to leave them out. Point at the picture and the window's status line names the character cell "
        "(column, row), its screen code, the address of its glyph and its colour, or the sprite. Click a "
        "sprite to show it in the sprite viewer in its own mode and colours, or a character to show the "
        "screen's character set in the character-set viewer. \"Save Screen Picture...\" saves the frame "
        "as BMP or PNG (by the name). A snapshot holds the registers as they were at one moment: a game "
        "that changes them in the middle of the frame (a raster split) shows only that moment's state.",
        "",
        "Where the C64 shows the built-in character ROM, the glyphs come from the snapshot's own ROM, else "
        "from the file chosen with \"Character ROM File...\" on the Options menu (exactly 4096 bytes), "
        "else from an installed VICE. Without any, those glyphs are blank and the window says \"character "
        "ROM missing\". With \"Follow Snapshot on Open\" ticked (Options menu), opening a snapshot moves the "
        "sprite viewer to the first sprite on screen and the character-set viewer to the screen's character "
        "set, in the C64's modes and colours; the status bar says where.",
    });
}

void CharSetRipper(HelpWriter& w) {
    w.Heading("How Does The CharSet Ripper Work?");
    w.Lines({
        "Character sets are shown on the \"CharSet Ripper\" page (\"CharSet Ripper\" on the View menu). A "
        "C64 character is 8 x 8 pixels made of 8 bytes, and a full set of 256 characters takes $0800 bytes. "
        "The page shows the memory from its address on in three arrangements at once:",
        "",
        "- \"8 x 8 View\": one character per cell (1 x 1), 270 characters from the address on: a whole set "
        "and the first few characters after it.",
        "- \"8 x 16 View\": two characters stacked in each cell (1 x 2). The top half is a character from "
        "the first quarter of the set and the bottom half the character 64 places further on, which is how "
        "many games build tall letters.",
        "- \"16 x 16 View\": four characters in a square (2 x 2). Top left is a character from the first "
        "quarter of the set, top right the one 64 places on, bottom left 128 places on and bottom right 192 "
        "places on; big title letters are often put together this way.",
        "",
        "Tick a view's check box to switch it on; only the 8 x 8 view is on at the start, because drawing "
        "all three takes a moment. \">\" and \"<\" (F4 and F3) move a whole set, $0800 bytes; \"+\" and "
        "\"-\" (F12 and F11) move one byte and only change the address shown, so press \"Refresh\" (Ctrl+R) "
        "to redraw. \"MCM\" on this page (Ctrl+E) shows multicolour character sets, and the colour buttons "
        "work as on the sprite page. The File menu saves each view as a bitmap, and Ctrl+C copies the 8 x 8 "
        "view while this page is in front.",
        "",
        "To see the C64's own character ROM, turn off \"Skip First 1148 Bytes Of File\" on the Options menu "
        "and open a file holding the 4K character ROM image. It is read from its first byte, so the upper "
        "case set starts at $0000 and the lower case set at $0800.",
    });
}

void BitmapRipper(HelpWriter& w) {
    w.Heading("How Does The Bitmap Ripper Work?");
    w.Lines({
        "Title pictures, loading screens and logos are often bitmaps: 320 x 200 pixels in 8000 bytes, with "
        "the colours of each 8 x 8 cell in screen memory (and, in multicolour, in colour RAM). The \"Bitmap "
        "Ripper\" page (View menu) shows the bitmap at its address and the screen memory at its own.",
        "",
        "\"+\" and \"-\" move the bitmap one byte (Shift+F10 and Shift+F9), \">\" and \"<\" one character "
        "row, $0140 bytes (Shift+F7 and Shift+F6), \">>\" and \"<<\" a whole bitmap, $2000 bytes (Shift+F8 "
        "and Shift+F5), and \"|<\" and \">|\" jump to $0000 and $E000. The screen memory's \">\" and \"<\" "
        "move it $0400 bytes (Shift+F12 and Shift+F11). \"MCM\" (Ctrl+Shift+M) switches between hi-res and "
        "multicolour; in multicolour the background comes from the list beside it and the third colour of "
        "each cell from colour RAM: the snapshot's own, or memory at an address you type (Koala pictures "
        "keep theirs after the screen). Tick \"2x\" to see the picture twice as large.",
        "",
        "\"Show Bitmap\" in the Snapshot State window, or a click on a bitmap screen in the Screen window, "
        "shows the bitmap the C64 was showing, in its mode and colours. Opening a Koala Painter (.kla, "
        ".koa) or Art Studio (.art) picture shows it here in its own colours. The File menu saves the "
        "bitmap as a picture (BMP or PNG by the name), as a Koala Painter file (multicolour) or as an Art "
        "Studio file (hi-res); \"Save Raw Data\" with this page in front offers the bitmap's 8000 bytes.",
    });
}

void Collections(HelpWriter& w) {
    w.Heading("Disk, Tape And Cartridge Images");
    w.Lines({
        "Open a disk image (.d64, .d71, .d81), a tape image (.t64), a cartridge (.crt) or an archive (.zip, "
        ".gz) as any other file, or drop it on the window. When it holds more than one file, \"Pick a File\" "
        "lists its directory as the C64 would, with each program's load address (for a cartridge, its "
        "banks); choose one with the arrow keys and Return or a double-click, or press Escape to leave "
        "everything as it was. A zip holding a disk image asks twice. A program loads at its load address "
        "as a PRG does. SEQ and USR files have no load address: they load at the address typed in the "
        "dialog's \"Load at\" box ($0000 when it is empty). A cartridge shows one bank at a time, at the "
        "address the C64 sees it.",
    });
}

void Faq(HelpWriter& w) {
    w.Heading("FAQ");
    w.Lines({
        "Q. The Mosaiqua window stays in front of all my other windows. How do I stop that?",
        "A. Untick \"Always On Top\" on the View menu. The colour picker follows the same setting.",
        "",
        "Q. My sprites look cut in half or shifted sideways. What is wrong?",
        "A. The address is not at the start of a sprite. Use the \"-\" and \"+\" buttons (F9 and F10) to "
        "move one byte at a time until the sprite lines up, then go on with \"<\" and \">\".",
        "",
        "Q. Do I have to save the sprites one at a time?",
        "A. No. \"Save Next 7 Sprites\" on the File menu saves the seven sprites of the strip in one go, "
        "each to its own file, and \"Save Sprites In Memory Range\" saves every sprite between two "
        "addresses.",
        "",
        "Q. Can I load files other than CCS64 freeze files?",
        "A. Yes. Any file up to 64K that holds C64 memory from its first byte can be loaded: turn off "
        "\"Skip First 1148 Bytes Of File\" on the Options menu, then open it with Ctrl+O. With the option "
        "on, the first 1148 bytes (the header of a freeze file) are skipped.",
    });
}

void TheEnd(HelpWriter& w) {
    w.Heading("The End");
    w.Lines({
        "Mosaiqua relies on the layout of CCS64 freeze files. A later version of the emulator may save its "
        "state differently, and then the pictures will not make sense. Keep copies of the versions of the "
        "emulator and of Mosaiqua that work for you, and tell us when a new version breaks something.",
        "",
        "Have fun, and respect the work of the artists whose graphics you rip.",
    });
}

void Credits(HelpWriter& w) {
    w.Heading("Credits");
    w.Lines({
        "Mosaiqua is written and maintained by the Mosaiqua developers.",
    });
    w.Line(QStringLiteral("Web site: ") + HomePageUrl());
    w.Line(QStringLiteral("E-mail: ") + ContactEmail());
    w.Lines({
        "",
        "Thanks to the makers of the CCS64 emulator, whose freeze files made this possible, and to everyone "
        "who sent in bug reports and suggestions.",
    });
}

void VersionInformation(HelpWriter& w) {
    w.Heading("Version Information");
    w.Lines({
        "Version 1.05 (30/12/2001)",
        "- New: \"Save Sprites In Memory Range To Single Bitmap\" lays a whole range out on one bitmap.",
        "- New: the three character-set views can each be switched on and off.",
        "- Fixed: \"<<\" could step below the start of memory.",
        "",
        "Version 1.04 (09/12/2001)",
        "- New: \"Copy Sprite / CharSet To Clipboard\" (Ctrl+C).",
        "- New: \"Set Default File Directories\" with a folder browser.",
        "- The help window opens beside the main window instead of on top of it.",
        "",
        "Version 1.03 (18/11/2001)",
        "- New: the 8 x 16 and 16 x 16 character-set views.",
        "- New: \"Set Save Sprite Settings\" for the size of saved sprites.",
        "- Fixed: the last seven sprites of memory were drawn with the wrong addresses.",
        "",
        "Version 1.02 (28/10/2001)",
        "- New: the \"CharSet Ripper\" page with the 8 x 8 view.",
        "- New: \"Use True VIC-II Colour Palette\", now the palette at start.",
        "",
        "Version 1.01 (07/10/2001)",
        "- New: \"Save Next 7 Sprites\" and \"Save Sprites In Memory Range\".",
        "- New: keyboard shortcuts F5 to F10 for stepping through memory.",
        "- Fixed: multicolour sprites showed multicolour 1 and 2 swapped.",
        "",
        "Version 1.00 (16/09/2001)",
        "- First release: the sprite ripper with hi-res and multicolour modes and BMP saving.",
    });
}

} // namespace

QStringList HelpTextLines() {
    HelpWriter writer;
    Introduction(writer);
    SpriteRipper(writer);
    CharSetRipper(writer);
    BitmapRipper(writer);
    Collections(writer);
    Faq(writer);
    TheEnd(writer);
    Credits(writer);
    VersionInformation(writer);
    return writer.Take();
}
