// Main window: shows a Document in the sprite and character-set rippers and runs every menu command.
#pragma once

#include "core/document.h"
#include "ui/dialogs/sprite_range_dialog.h"

#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class AnimationDialog;
class CaptureDialog;
class ColourSwatch;
class MemoryOverview;
class Platform;
class RawDataDialog;
struct SaveFileRequest;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolButton;
class RasterView;
class STMenuBar;
class SnapshotWindow;
class ScreenWindow;

class AboutBox;
class PalettePicker;
class HelpWindow;
class FoldersDialog;
class SpriteRangeDialog;
class SaveSettingsDialog;

// The windows the main window creates after its own controls, in their fixed order; they
// live as its children and are only shown and hidden.
struct SecondaryWindows {
    AboutBox* aboutBox = nullptr;
    HelpWindow* helpWindow = nullptr;
    PalettePicker* palettePicker = nullptr;
    SpriteRangeDialog* spriteRangeDialog = nullptr;
    SaveSettingsDialog* saveSettingsDialog = nullptr;
    FoldersDialog* foldersDialog = nullptr;
    // Not modal: they follow the loaded file and the viewers while they are open.
    SnapshotWindow* snapshotWindow = nullptr;
    MemoryOverview* memoryOverview = nullptr;
    ScreenWindow* screenWindow = nullptr;
};

// The main window shows a Document: every swatch, mode button, check box and check mark is set
// from it when it says what changed, and every command asks it to change or to save.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    MainWindow(Platform& platform, mosaiqua::Document& document, QWidget* parent = nullptr);
    ~MainWindow() override;

    mosaiqua::Document& Model() const { return m_document; }
    const mosaiqua::MemoryImage& Memory() const { return m_document.memory(); }
    std::int32_t SpriteAddress() const { return m_document.sprite().address; }
    std::int32_t CharSetAddress() const { return m_document.charSet().address; }
    const mosaiqua::SpriteRasters& SpriteViews() const { return m_document.spriteRasters(); }
    const mosaiqua::CharSetRasters& CharSetViews() const { return m_document.charSetRasters(); }
    mosaiqua::ColourSlots SpriteColours() const { return m_document.sprite().colours; }
    mosaiqua::ColourSlots CharSetColours() const { return m_document.charSet().colours; }
    mosaiqua::PaletteKind CurrentPaletteKind() const { return m_document.palette().kind; }
    bool SpriteMulticolour() const { return m_document.sprite().multicolour; }
    bool CharSetMulticolour() const { return m_document.charSet().multicolour; }
    // The folders last picked in the folders dialog.
    QString FreezeDirectory() const;
    QString BitmapDirectory() const;
    QString StatusText() const;
    QMenu* MainMenu() const { return m_mainMenu1; }

    // Windows that stay on top exactly when this one does ("Always On Top").
    void AddStayOnTopFollower(QWidget* window);
    bool StaysOnTop() const;

    // The secondary windows, created with this one; the main window reads their values after they close.
    const SecondaryWindows& Windows() const { return m_windows; }

    // The open command after its dialog: used for a snapshot named on the command line.
    // `systemPath` is the name as the system gave it (bytes that need not be UTF-8); `shownName`
    // is what messages call the file.
    void OpenFreezeFileNamed(const QString& shownName, const std::string& systemPath);
    void OpenFreezeFileNamed(const QString& path);

signals:
    // Every text the first status panel shows, in order.
    void StatusTextChanged(const QString& text);
    // The window was closed: the program ends, whatever other windows are open.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A file dropped on the window opens as File > Open would open it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Building (main_window_layout.cpp, main_window_actions.cpp).
    void BuildWindow();
    void BuildSpritePage(QWidget* page);
    void BuildCharSetPage(QWidget* page);
    void BuildBitmapPage(QWidget* page);
    void BuildStatusBar();
    // MainMenu1 from the one command table: one action per command, keys on the window too.
    void BuildCommands();
    void BuildMenuBar();
    void BuildSecondaryWindows();
    QAction* MenuItem(const char* name) const;
    QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint, QRect place,
                        std::function<void()> command, bool bold = false);
    std::function<void()> StepsSprite(mosaiqua::SpriteStep step);
    std::function<void()> StepsCharSet(mosaiqua::CharSetStep step);
    // Runs a command through the error funnel.
    void Run(const std::function<void()>& command);

    // Showing the document (document_view.cpp): what changed is shown, nothing is read back.
    void Show(mosaiqua::DocumentChange change);
    void ShowSprite();
    void ShowCharSet();
    void ShowBitmap();
    void ShowColours();
    void ShowSettings();
    void FollowCharSetDrawing();
    RasterView* CharSetView(mosaiqua::CharSetViewKind kind) const;
    QCheckBox* ViewBox(mosaiqua::CharSetViewKind kind) const;
    QAction* ViewMark(mosaiqua::CharSetViewKind kind) const;
    void SetStatus(const QString& text);
    void StepSprite(mosaiqua::SpriteStep step);
    void StepCharSet(mosaiqua::CharSetStep step);
    void ChoosePalette(mosaiqua::PaletteKind kind);
    void ApplyStayOnTop(bool onTop);
    void Load(const QString& shownName, const std::string& systemPath);
    // Containers: the entry the user picks in the Pick a File dialog, "#N" or "bankN"; nothing
    // when cancelled. `address`: where a SEQ or USR file is to load, when the user said.
    std::optional<std::string> AskContainerPick(const std::string& systemPath,
                                                const std::vector<std::string>& picksToContainer,
                                                std::optional<int>& address);

    // Export and dialogs (file_commands.cpp, edit_commands.cpp).
    enum class Viewer { Sprite, CharSet };
    void EditColourSlot(Viewer viewer, mosaiqua::ColourSlot slot);
    QPoint CentredOver(const QSize& outer) const;
    QSize PickerOuterSize() const;
    std::optional<QString> AskSaveName(const QString& presetName);
    std::optional<QString> AskSaveName(SaveFileRequest request);
    // Hands the save settings dialog's values and the display's depth to the document before a save.
    void ApplySaveSettings();
    int DisplayDepth() const;
    void SaveCharSetView(mosaiqua::CharSetViewKind kind);
    void SaveSpriteRange(RangeDialogMode mode);
    void RestoreAfterRange(std::int32_t spriteAddress);

    // File menu.
    void OpenFreezeFile();
    void SaveCurrentSprite();
    void SaveNextSevenSprites();
    void SaveSpriteAnimation();
    void SaveRawData();

    // Edit menu and the buttons it duplicates.
    void CopyPictureToClipboard();
    void ResetSpriteColours();
    void ResetCharSetColours();
    void EditSpriteBackground();
    void EditSpriteMulticolour1();
    void EditSpriteMainColour();
    void EditSpriteMulticolour2();
    void EditCharSetBackground();
    void EditCharSetMulticolour1();
    void EditCharSetMainColour();
    void EditCharSetMulticolour2();

    // Options menu.
    void EditSaveSettings();
    void EditFolders();

    // View menu, sprite navigation and the charset page.
    void SpriteToEnd();
    void SpriteModeClicked();
    void RefreshCharSets();

    // The Snapshot and Memory Overview windows (memory_windows.cpp).
    void BuildMemoryWindows();
    mosaiqua::OverviewPage CurrentOverviewPage() const;
    void TakeSnapshotSprite(const mosaiqua::SpriteSettings& settings);
    void TakeSnapshotCharSet(const mosaiqua::CharSetSettings& settings);
    void MoveViewerTo(mosaiqua::OverviewPage page, std::int32_t address);
    void ShowSnapshotWindow();
    void ShowMemoryOverview();

    // The Screen window and the character ROM (screen_commands.cpp).
    void BuildScreenWindow();
    void ShowScreenWindow();
    void SaveScreenPicture();
    void ChooseCharacterRomFile();
    // Right of the main window, else left of it, within the screen's free area; the main window
    // moves over when only that keeps the window off its viewers.
    void PlaceBeside(QWidget& window);
    // Capturing a running VICE (capture_commands.cpp): the address is asked for and kept for the run.
    void CaptureFromVice();
    void CaptureAgain();
    void Capture(const mosaiqua::MonitorAddress& address, bool keepViewers);
    // Editor files and palettes (editor_commands.cpp).
    void SaveSpritesAsSpritePad();
    void SaveCharSetAsCharPad();
    void SaveOnScreenSpritePad();
    void ChooseBuiltInPalette(const char* keyword);
    void LoadPaletteFile();
    void ShowPaletteMarks();

    // The Bitmap Ripper page (bitmap_page.cpp).
    void StepBitmap(mosaiqua::BitmapStep step);
    void StepBitmapScreen(bool forward);
    void ApplyBitmapColourRam();
    void SaveBitmap(mosaiqua::BitmapFileKind kind);
    // Brings the Bitmap Ripper page to the front when the file just loaded is a picture or a snapshot
    // of a bitmap screen.
    void ShowLoadedBitmap();
    void ShowBitmapFromSnapshot();

    // Help menu.
    void ShowHelp();
    void OpenHomePage();
    void OpenBugBoard();
    void OpenSuggestionBoard();
    void ShowAbout();

    Platform& m_platform;
    mosaiqua::Document& m_document;
    mosaiqua::Document::ObserverId m_observer = 0;
    // Set when the document starts drawing the character-set views; their labels, the progress bar
    // and the status follow when it says they changed.
    bool m_charSetDrawn = false;
    SecondaryWindows m_windows;
    std::vector<QPointer<QWidget>> m_stayOnTopFollowers;

    QWidget* m_controlBar1 = nullptr;
    STMenuBar* m_menuBar = nullptr;
    QMenu* m_mainMenu1 = nullptr;
    QTabWidget* m_pageControl = nullptr;
    QWidget* m_spriteSheet = nullptr;
    QWidget* m_charSheet = nullptr;
    QWidget* m_bitmapSheet = nullptr;
    QStatusBar* m_statusBar1 = nullptr;
    QLabel* m_statusPanel0 = nullptr;
    QProgressBar* m_progressBar1 = nullptr;

    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label3 = nullptr;
    QToolButton* m_mcm = nullptr;
    ColourSwatch* m_back = nullptr;
    ColourSwatch* m_col1 = nullptr;
    ColourSwatch* m_col2 = nullptr;
    ColourSwatch* m_col3 = nullptr;
    RasterView* m_spriteActualView = nullptr;
    RasterView* m_spriteBigView = nullptr;
    RasterView* m_scanImageView = nullptr;

    QToolButton* m_cmcm = nullptr;
    ColourSwatch* m_cBack = nullptr;
    ColourSwatch* m_cCol1 = nullptr;
    ColourSwatch* m_cCol2 = nullptr;
    ColourSwatch* m_cCol3 = nullptr;
    QCheckBox* m_check8x8 = nullptr;
    QCheckBox* m_check16x16 = nullptr;
    QCheckBox* m_check8x16 = nullptr;
    QLabel* m_cs8x8Label = nullptr;
    QLabel* m_cs16x16Label = nullptr;
    QLabel* m_cs8x16Label = nullptr;
    RasterView* m_charSetImageView = nullptr;
    RasterView* m_charSetImage8x16View = nullptr;
    RasterView* m_charSetImage16x16View = nullptr;

    QLabel* m_bitmapAddressLabel = nullptr;
    QLabel* m_bitmapScreenLabel = nullptr;
    QToolButton* m_bitmapMcm = nullptr;
    QComboBox* m_bitmapColourRam = nullptr;
    QLineEdit* m_bitmapColourRamAddress = nullptr;
    QComboBox* m_bitmapBackground = nullptr;
    QCheckBox* m_bitmapDoubleSize = nullptr;
    RasterView* m_bitmapView = nullptr;
    QAction* m_bitmapMulticolourMode1 = nullptr;

    // Commands with check marks, set from the document (Always On Top: from the window).
    QAction* m_useC64Palette1 = nullptr;
    QAction* m_useVicPalette1 = nullptr;
    QAction* m_useWindowsStandard16bitPalette1 = nullptr;
    QAction* m_skipFirst1148BytesOfFile1 = nullptr;
    QAction* m_detectFileFormat1 = nullptr;
    QAction* m_n8x8CharSetView1 = nullptr;
    QAction* m_n8x16CharSetViewEnabled1 = nullptr;
    QAction* m_n16x16CharSetViewEnabled1 = nullptr;
    QAction* m_multicolourMode1 = nullptr;
    QAction* m_charSetMulticolourModeEnable1 = nullptr;
    QAction* m_alwaysOnTop1 = nullptr;
    QAction* m_transparentBackgroundInPng1 = nullptr;

    // Made on first use and kept for the run, so they show the values last chosen.
    AnimationDialog* m_animationDialog = nullptr;
    RawDataDialog* m_rawDataDialog = nullptr;

    // Capture from VICE: the address last asked for, and Capture Again, enabled once it is known.
    CaptureDialog* m_captureDialog = nullptr;
    std::optional<mosaiqua::MonitorAddress> m_viceAddress;
    QAction* m_captureAgain1 = nullptr;
};
