// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "DocumentState.h"
#include "History.h"
#include "ImageCopy.h"
#include "Modal.h"
#include "OptionsChange.h"
#include "PictureOptions.h"
#include "StrokeEntry.h"
#include "TileMapExport.h"

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

class TAreaEntry;
class TLanguageTexts;

// Arrow keys, as FormKeyDown receives them.
enum class TArrow { Left, Up, Right, Down };

// The two export formats.
enum class TExportFormat { Gif, Png };

// Which commands the 50 ms refresh enables.
struct TCommandStates {
    bool Undo = false;
    bool Redo = false;
    bool Paste = false;
    bool FloatingCommands = false; // Cut, Copy, Clear Selection, mirroring, rotation
    bool Export = false;           // Export to GIF and Export to PNG
};

// The picture document: the picture and every editing algorithm of the main window, without any
// widget. Its state is read through const accessors and changed only by its operations, each of
// which tells the host what it changed. Positions are picture pixels at every zoom: only the
// window's view turns screen points into them, and the first pixel in sight enters only where a
// command depends on it (Paste).
class TPictureDocument {
  public:
    TPictureDocument(TModal& modal, TDocumentHost& host);

    // ---- What the window and the tests read ------------------------------------------------
    const TBitmap& Picture() const { return Picture_; }
    // Sizes for new pictures, the step pairs, the colours and the transparency switch (menu item
    // Transparent1); the settings file loads and saves them, the options dialog edits them.
    const TPictureOptions& Options() const { return Options_; }
    const TFontOptions& Font() const { return Font_; } // the insert-text font
    int StepX() const { return StepX_; }               // the active pair's steps
    int StepY() const { return StepY_; }
    bool Modified() const { return Modified_; }
    const std::string& CurrentFile() const { return Files_.Current; }
    const TPictureFiles& Files() const { return Files_; }
    const TFloatingImage& Floating() const { return Float_; }
    const TSelectionDrag& Selection() const { return Selection_; }
    const THistory& History() const { return History_; }
    const TDocumentTexts& Texts() const { return Texts_; }
    TModal& Modal() const { return Modal_; }

    // ---- Picture document and main window ---------------------------------------------------
    // Takes the message, dialog and export texts of the chosen language.
    void ApplyLanguage(const TLanguageTexts& texts);
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
    // The last folder of both file dialogs, as the settings kept it.
    void SetPictureFolder(const std::string& folder);
    // Where a file dialog starts when there is no current file and no last folder: the user's
    // pictures, never the program's own folder.
    void SetDefaultFolder(const std::string& folder);
    // The folder a dialog starts in: the current file's, else the last one used, else the default.
    std::string OpenDialogFolder() const;
    std::string SaveDialogFolder() const;
    // The insert-text dialog's choices, kept for its next opening and the settings file.
    void SetFont(const TFontOptions& font);
    // The options dialog's values as they stand, with the picture's own depth and no offset.
    TOptionsChange CurrentOptions() const;
    // The options dialog's OK. Applies steps (anything below 1 is stored as 1), current steps,
    // colours, colour depth, size and offset in that order. The depth asks before it can lose
    // colours; a refusal keeps the depth and goes on with the size. Running out of memory shows
    // the message and leaves that group, and every group after it that depends on it, as it was.
    void ApplyOptions(const TOptionsChange& change);
    // Puts a whole bitmap in the picture's place, as a picture read from outside the editor's
    // commands: the canvas keeps its colours, and the name, the modified flag and a floating
    // image stay as they are. The history is kept for a picture of the same size and format,
    // and starts again for any other, whose pixels its steps do not fit. Reports a resize.
    void ReplacePicture(TBitmap picture);
    // Converts the picture and the floating bitmap, as one step of the history; false (after the
    // out-of-memory message) when a conversion fails or the step cannot be kept. Any bits but 1,
    // 4, 8, 16, 24 change nothing.
    bool SetColorDepth(int bits);
    // Resizes the picture to width x height, filling it with BackgroundColor when fill is set, as
    // one step of the history. Reports the old size. False after the out-of-memory message.
    bool ResizePicture(int width, int height, bool fill, int* oldWidth = nullptr, int* oldHeight = nullptr);
    // "Save changes?"; Yes runs Save, No discards, Cancel changes nothing. False after Cancel or
    // when Yes did not end in a saved file (the save dialog was cancelled or writing failed):
    // Modified is then still true, and the action that asked (closing, New, Open, a recent file)
    // must not go on.
    bool AskSaveChanges();
    // A command that failed halfway leaves no hourglass behind; its error is shown, running out
    // of memory with the document's own text and title.
    void ReportFailure(bool outOfMemory, const std::string& message);
    TCommandStates CommandStates(bool clipboardHasBitmap) const;
    // The status bar panels of the document: picture size and depth, and the floating image's
    // size and place; the middle one, the cursor position, is the window's.
    std::array<std::string, 3> StatusTexts() const;
    // A step below 1 counts as 1, so snapping and moves always end.
    int EffectiveStepX() const;
    int EffectiveStepY() const;

    // ---- Stamping on the step grid ---------------------------------------------------------
    // The clipboard's bitmap becomes the floating image at the first grid point at or after the
    // first pixel in sight (scrollX, scrollY). Stamps an earlier floating image first. Commands
    // that fail raise their error for the window to show and leave the picture, the floating
    // image, the undo area and Modified as they were (Paste: as they were after stamping the
    // earlier image).
    void Paste(const TBitmap& clipboard, int scrollX, int scrollY);
    // An arrow key without Ctrl: by the step, or by one pixel with Shift; refused past the edge.
    void MoveFloating(TArrow arrow, bool shift);
    // Ctrl with an arrow key.
    void SlideToContact(TArrow arrow);
    void StampFloating();
    void DropFloating();
    void ToggleTransparency(); // Transparent1Click
    // ExactColors1Click: whether the exports and the conversion to 8 bits keep the picture's own
    // colours instead of the halftone table.
    void ToggleExactColors();
    void ChooseStepPair(int pair);
    // Dragging Image2 with the left button: x and y in picture pixels from Image2's corner.
    void GrabFloating(int x, int y);
    void DragFloating(int x, int y);
    void ReleaseFloating();
    // A rubber band, the floating image or a brush drag follows the mouse; Undo and Redo wait until
    // it is let go.
    bool Dragging() const { return Selection_.Active || Float_.Grabbed || Stroke_; }

    // ---- The stamp brush -------------------------------------------------------------------
    // The floating image's top-left corner goes to the grid point of the active steps at or before
    // the picture point (x, y), moved back by whole steps until the image lies inside the picture
    // (to 0 when it is larger). Nothing happens without a floating image or during a selection.
    void BrushTo(int x, int y);
    // A left click: the image moves there and is stamped, and the same image floats on. The
    // stamps of one press up to EndStroke are one step of the history.
    void BeginStroke(int x, int y);
    // The pointer moved with the button held: one stamp in every grid cell on the way from the
    // last point, each cell once per stroke.
    void StrokeTo(int x, int y);
    // The button was released: the stroke becomes one step. Every operation that takes a step of
    // its own, and Undo and Redo, end a stroke first.
    void EndStroke();
    bool StrokeOpen() const { return Stroke_ != nullptr; }

    // ---- Undo and Redo -----------------------------------------------------------------------
    // Every command that changes the picture's pixels, size or depth records a step first; one
    // that cannot (out of memory) does not run. Undo takes back the newest step and Redo applies
    // again the one undone last; both drop a floating image first, and do nothing while a drag
    // is in progress. Undoing a stamp floats its image again where it was. Modified follows the
    // step at which the picture was last saved.
    void Undo();
    void Redo();
    // The most memory the history may hold; the oldest steps go to disk first.
    void SetHistoryBudget(std::uint64_t bytes);
    // The folder for steps that do not fit the memory; empty keeps none on disk.
    void SetHistoryFolder(const std::string& folder);

    // ---- Selection and clipboard -------------------------------------------------------------
    // x and y in picture pixels.
    void BeginSelection(int x, int y);
    void DragSelection(int x, int y); // clamps to the picture
    // Lifts, or discards an empty rectangle. A lift whose undo area cannot be kept does not lift:
    // the selection is discarded and the error raised.
    void EndSelection();
    void DiscardSelection();
    void SelectAll();
    // The floating image without its frame, for the clipboard (Copy; Cut is this then DropFloating).
    // Costs no copy of the pixels; a later change to the floating image leaves it as it was.
    TImageCopy CopyFloating() const;
    void ClearSelection(); // Delete1Click

    // ---- Picture transforms ----------------------------------------------------------------
    void MirrorHorizontal();
    void MirrorVertical();
    void Rotate180();
    // A quarter turn clockwise (90) or counter-clockwise (270): the sides swap, the top-left
    // corner stays where it is.
    void Rotate90();
    void Rotate270();
    void BlackWhite();
    void ClearPicture();
    // Mouse gestures at picture pixel (x, y).
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
    // Puts a picture rebuilt after a crash in place, under the file name it had (empty: untitled).
    // It differs from that file, so it is marked modified and no step can unmark it; Save writes
    // it to that file. The history starts again.
    void RestoreUnsavedPicture(TBitmap picture, const std::string& file);
    // Where saving would stamp the floating image; empty when none floats.
    TRect FloatingStampArea() const;
    // Stamps the floating image, as saving would, onto part of a copy of the picture whose pixel
    // (0, 0) is the picture's (left, top); the frame marking it on screen is not drawn.
    void StampFloatingOnto(TBitmap& part, int left, int top) const;

    // ---- Exports ---------------------------------------------------------------------------
    // The file of an export: CurrentFile without its last four characters, plus ".gif" or ".png".
    std::string ExportFileName(TExportFormat format) const;
    // Stamps a floating image, writes the picture beside its file and says where; the picture,
    // its depth and the undo area stay as they were. False (after the error was shown) on failure,
    // and when the export's name is the picture's own file, which is never replaced.
    bool ExportPicture(TExportFormat format);
    // Stamps a floating image and writes the picture beside its file as a tile map (its tile set,
    // NAME.tsx, NAME.tmx, NAME.tmj and NAME.csv), then reports the cells, tiles and colours. The
    // options' empty colour is the picture options' transparent colour. False (after the refusal or
    // error was shown) when the picture has no file or the export failed; no file is left then.
    bool ExportTileMap(TTileMapOptions options);

  private:
    // A brush drag under way: its stamps so far, the last pointer point, and the corners stamped,
    // so going back over a cell does not stamp it again.
    struct TStroke {
        std::unique_ptr<TStrokeEntry> Entry = std::make_unique<TStrokeEntry>();
        int LastX = 0, LastY = 0;
        std::set<std::pair<int, int>> Stamped;
    };
    // History_.Reserve for an operation's own step, after any open stroke has become a step.
    void ReserveStep();
    TRect BrushPlace(int x, int y) const;
    // Stamps the floating image where it is and keeps it floating; false when that cannot be
    // undone (out of memory), and nothing was stamped.
    bool StampAndKeep();

    // The steps inside the operations above; each leaves the floating image, its frame and the
    // undo area in a state only the whole operation makes sensible.
    void ApplyTransparency();
    void SaveFloatingEdges();
    void RestoreFloatingEdges();
    void FreeFloatingEdges();
    void DrawFloatingFrame();
    bool CopySelectionToFloating();
    void LiftWholePicture();
    // The picture's colour under a point; clInvalid off the picture.
    TColor ColorAt(int x, int y) const;
    void TransformFloating(void (*transform)(TBitmap&, TDocumentHost&));
    void ApplySteps(const TPictureOptions& change);
    void ApplyColors(const TPictureOptions& change);
    void ApplyColorDepth(int bits);
    bool ConvertToOwnColors();
    void ApplySize(int width, int height);
    void ApplyOffset(int x, int y);
    void ShowOutOfMemory();
    // Writes the picture in the format of the name's extension (BMP, PNG or GIF); false, after
    // the error was shown or the colour-loss question refused, when nothing was written.
    bool WritePictureFile(const std::string& path);
    // Room in the history and the picture as it is, for a whole-picture step about to run.
    // EOutOfMemory, with nothing changed, when either cannot be had.
    std::unique_ptr<THistoryEntry> KeepWholePicture();
    // Adds a step that has run; cannot fail once the room was made. Modified is the command's to
    // set: a lift, or a depth the settings give at start, does not mark the picture.
    void Record(std::unique_ptr<THistoryEntry> entry) noexcept;
    // The rest of the document after an entry was exchanged: a redone lift floats again.
    void FollowStep(const THistoryEntry& entry, bool redone);
    void FloatAgain(const TAreaEntry& stamp);
    bool SizePicture(int width, int height, bool fill);
    // Tells the host about the part of the area that lies inside the picture.
    void ReportPictureChanged(const TRect& area);

    TModal& Modal_;
    TDocumentHost& Host_;
    TBitmap Picture_; // the bitmap of Image1
    TPictureOptions Options_;
    TFontOptions Font_;
    int StepX_ = 8;
    int StepY_ = 8;
    bool Modified_ = false;
    TPictureFiles Files_;
    TFloatingImage Float_;
    TSelectionDrag Selection_;
    THistory History_;
    TDocumentTexts Texts_;
    std::unique_ptr<TStroke> Stroke_;
};
