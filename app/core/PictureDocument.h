#pragma once

#include "Bitmap.h"
#include "Modal.h"
#include "PictureOptions.h"

#include <array>
#include <string>

// Arrow keys, as FormKeyDown receives them.
enum class TArrow { Left, Up, Right, Down };

// The two export formats.
enum class TExportFormat { Gif, Png };

// Which commands the 50 ms refresh enables.
struct TCommandStates {
    bool Undo = false;
    bool Paste = false;
    bool FloatingCommands = false; // Cut, Copy, Clear Selection, mirroring, rotation
    bool Export = false;           // Export to GIF and Export to PNG
};

// The picture document: every field and editing algorithm of the main window, without any
// widget. Positions are in Image1 control pixels (picture pixels while ZoomFactor is 1), so
// the window's scroll position enters only where a command depends on it (Paste).
class TPictureDocument {
public:
    TPictureDocument(TModal& modal, TDocumentHost& host);

    // ---- The picture and its options ----------------------------------------------------
    TBitmap Picture; // the bitmap of Image1
    // Sizes for new pictures, the step pairs, the colours and the transparency switch (menu item
    // Transparent1); the settings file loads and saves them, the options dialog edits them.
    TPictureOptions Options;
    TFontOptions Font; // the insert-text font
    int StepX = 8;     // the active pair's steps
    int StepY = 8;
    bool Modified = false;
    int ZoomFactor = 1;
    std::string CurrentFile;
    std::string CursorText;
    // Set by Save and SaveAs: true when writing failed with an error, false on success or cancel.
    bool SaveFailed = false;

    // ---- Undo -----------------------------------------------------------------------------
    bool UndoAvailable = false;
    TBitmap UndoBitmap;
    int UndoX = 0;
    int UndoY = 0;

    // ---- The floating image (Image2) ------------------------------------------------------
    bool Floating = false;
    bool Selecting = false;
    TBitmap FloatingBitmap; // the bitmap of Image2; also the export's scratch bitmap
    int FloatLeft = 0;      // Image2's position relative to Image1
    int FloatTop = 0;
    int FloatWidth = 0; // Image2's control size
    int FloatHeight = 0;
    bool FloatShown = false;             // Image2 visible and enabled
    bool FloatDisplayTransparent = false; // Image2 lets the picture show through TransparentColor
    int GrabX = 0;
    int GrabY = 0;
    TBitmap EdgeLeft, EdgeTop, EdgeRight, EdgeBottom;

    // ---- The selection (positions relative to Image1) -------------------------------------
    int SelLeft = 0, SelTop = 0, SelRight = 0, SelBottom = 0;
    int AnchorX = 0, AnchorY = 0;

    // ---- Texts from the language file -----------------------------------------------------
    std::string WarningTitle = "Warning";
    std::string SaveChangesText = "Save changes?";
    std::string OutOfMemoryText = "Out of memory, picture is too large!";
    std::string OpenDialogTitle = "Open picture";
    std::string SaveDialogTitle = "Save picture";
    std::string DialogFilterText = "bitmap pictures";
    std::string ExportGifCaption = "Export to GIF";
    std::string ExportPngCaption = "Export to PNG";
    std::string SavedToText = "The picture was saved to";
    std::string OpenFolder; // the open dialog's initial folder
    std::string SaveFolder; // the save dialog's initial folder

    // ---- Picture document and main window ---------------------------------------------------
    // "Tessimap", or "Tessimap - " and the file name without its folder.
    std::string Title() const;
    void ApplyBackgroundColor();
    // The colour buttons: BackgroundColor becomes the drawing colour, TransparentColor the
    // floating image's transparent colour at once.
    void SetBackgroundColor(TColor color);
    void SetTransparentColor(TColor color);
    void SetFillColor(TColor color);
    // Options read at start-up, applied in order: the sizes and steps, the step pair through its
    // command (anything but 2 or 3 choosing pair 1), the colours, the colour depth, then the
    // transparency switch through its toggle.
    void ApplyLoadedOptions(const TPictureOptions& loaded, const TFontOptions& font);
    // The options as they are to be kept: ColorDepth is the picture's, 32 for any other format.
    TPictureOptions OptionsToKeep() const;
    // The initial folder of both file dialogs.
    void SetPictureFolder(const std::string& folder);
    // Converts the picture, the floating bitmap and UndoBitmap; false (after the out-of-memory
    // message) when a conversion fails. Any bits but 1, 4, 8, 16, 24 change nothing.
    bool SetColorDepth(int bits);
    // Resizes the picture to width x height, filling it with BackgroundColor when fill is set.
    // Reports the old size. False after the out-of-memory message.
    bool ResizePicture(int width, int height, bool fill, int* oldWidth = nullptr, int* oldHeight = nullptr);
    // "Save changes?"; Yes runs Save. False only when that save failed with an error: Modified
    // is then true again, so a closing window can stay open instead of losing the picture.
    bool AskSaveChanges();
    TCommandStates CommandStates(bool clipboardHasBitmap) const;
    // The three status bar panels: picture size and depth, CursorText, floating image size.
    std::array<std::string, 3> StatusTexts() const;
    // A step below 1 counts as 1, so snapping and moves always end.
    int EffectiveStepX() const;
    int EffectiveStepY() const;

    // ---- Stamping on the step grid ---------------------------------------------------------
    // The clipboard's bitmap becomes the floating image at the first grid point at or after the
    // scroll position. Stamps an earlier floating image first.
    void Paste(const TBitmap& clipboard, int scrollX, int scrollY);
    // An arrow key without Ctrl: by the step, or by one pixel with Shift; refused past the edge.
    void MoveFloating(TArrow arrow, bool shift);
    // Ctrl with an arrow key.
    void SlideToContact(TArrow arrow);
    void StampFloating();
    void DropFloating();
    void ApplyTransparency();
    void ToggleTransparency(); // Transparent1Click
    void ChooseStepPair(int pair);
    // Dragging Image2 with the left button: x and y inside Image2.
    void GrabFloating(int x, int y);
    void DragFloating(int x, int y);
    void SaveFloatingEdges();
    void RestoreFloatingEdges();
    void FreeFloatingEdges();
    void DrawFloatingFrame();

    // ---- Undo ------------------------------------------------------------------------------
    void SaveUndo();
    void Undo();

    // ---- Selection and clipboard -------------------------------------------------------------
    // x and y in Image1 control pixels.
    void BeginSelection(int x, int y);
    void DragSelection(int x, int y); // clamps to the picture
    void EndSelection();              // lifts, or discards an empty rectangle
    bool CopySelectionToFloating();
    void DiscardSelection();
    void SelectAll();
    // The floating image without its frame, for the clipboard (Copy; Cut is this then DropFloating).
    TBitmap CopyFloating();
    void ClearSelection(); // Delete1Click

    // ---- Picture transforms ----------------------------------------------------------------
    void MirrorHorizontal();
    void MirrorVertical();
    void Rotate180();
    void BlackWhite();
    void ClearPicture();
    // Mouse gestures at (x, y) in Image1 control pixels.
    void PickTransparentColor(int x, int y); // Ctrl + right button
    void PickFillColor(int x, int y);        // Alt + right button
    void PickBackgroundColor(int x, int y);  // Ctrl + left button
    void FloodFillAt(int x, int y);          // Alt + left button

    // ---- File commands ---------------------------------------------------------------------
    void New();
    void Open(); // shows the open dialog
    // Loads a picture; on failure shows the error and leaves everything as it was. True on success.
    bool OpenPictureFile(const std::string& path);
    // Writes the picture; false when the user cancelled or writing failed (the error was shown).
    bool Save();
    bool SaveAs();

    // ---- Exports ---------------------------------------------------------------------------
    // The file of an export: CurrentFile without its last four characters, plus ".gif" or ".png".
    std::string ExportFileName(TExportFormat format) const;
    // Stamps a floating image, writes the picture beside its file and says where; the picture,
    // its depth and the undo area stay as they were. False (after the error was shown) on failure.
    bool ExportPicture(TExportFormat format);

    TModal& Modal;
    TDocumentHost& Host;

private:
    void ShowOutOfMemory();
    // Tells the host about the part of the area that lies inside the picture.
    void ReportPictureChanged(const TRect& area);
};
