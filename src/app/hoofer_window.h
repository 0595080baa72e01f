#pragma once

#include "edit/document_file.h"
#include "edit/nudge_run.h"
#include "edit/pose_drag.h"
#include "edit/routine_editor.h"
#include "media/reference_clip.h"
#include "media/reference_frames.h"
#include "settings/recent_files.h"
#include "settings/settings.h"
#include "model/move.h"
#include "model/recovery_store.h"
#include "toolkit/combo_box.h"
#include "toolkit/dialogs.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/platform.h"
#include "toolkit/spin_edit.h"
#include "view/figure_drawing.h"
#include "view/preview_backdrop.h"
#include "view/playback.h"

#include <QMainWindow>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QMenu;
class QSlider;

namespace hoofer {

class TIdFTP;
class KeyFrameThumbnails;

namespace toolkit {
class KeyRouter;
class TThumbnailStrip;
}

/// The moves of a routine file for Load and Import Moves; a file that cannot
/// be read, is empty or is no routine raises with a message naming it.
/// The references in the routine's sidecar read into its moves, when there is
/// one; the messages say what was left out.
TMoveList ReadRoutineFile(const std::string &path, std::vector<std::string> *notes = nullptr);

/// Gives moves the references of the sidecar beside the routine file at
/// routinePath, if there is one; returns a message for each left out.
std::vector<std::string> ReadReferenceSidecar(const std::string &routinePath, TMoveList &moves);
/// Writes the sidecar beside the routine file at routinePath, or removes it
/// when no move has a reference; raises with a message when it cannot.
void WriteReferenceSidecarFor(const std::string &routinePath, const TMoveList &moves);

/// The editor's main window: every control and menu item, and the handlers of
/// every command. The routine and the editing state belong to the editing
/// core (Core), which reports every change of the routine to RoutineChanged,
/// the one place that brings the controls in line. Each handler checks, asks
/// and calls the core; the handlers are split by subsystem over the
/// window_*.cpp files.
class TfrmHoofer : public QMainWindow {
public:
    /// The window asks its questions through dialogs and sleeps and handles
    /// messages through platform; settings says where its settings are read
    /// and written (one path serves for both); recoveryFolder is where the
    /// crash-recovery copies live (none kept when empty).
    TfrmHoofer(toolkit::Platform &platform, toolkit::Dialogs *dialogs, SettingsLocation settings,
               QWidget *parent = nullptr, std::string recoveryFolder = {});
    ~TfrmHoofer() override;

    // Controls, by parent, in tab order.
    QWidget *Client = nullptr;
    QGroupBox *grpMoveAndFrame = nullptr;
    QLabel *lblCurrentMove = nullptr;
    toolkit::TComboBox *cbxMoves = nullptr;
    QLabel *lblCurrentFrameNumber = nullptr;
    toolkit::TSpinEdit *spinFrameNumber = nullptr;
    QLabel *lblFrameInterpolation = nullptr;
    toolkit::TSpinEdit *spinInterpolate = nullptr;
    QLabel *lblFrameDisplacement = nullptr;
    toolkit::TSpinEdit *spinDisplacement = nullptr;
    QGroupBox *grpBodyParts = nullptr;
    QLabel *lblBodyPart = nullptr;
    toolkit::TComboBox *cbxBodyPart = nullptr;
    QLabel *lblBodyPartXPos = nullptr;
    toolkit::TSpinEdit *spinPartX = nullptr;
    QLabel *lblBodyPartYPos = nullptr;
    toolkit::TSpinEdit *spinPartY = nullptr;
    QGroupBox *grpResult = nullptr;
    toolkit::TPaintBox *Image = nullptr;
    QGroupBox *grpStatus = nullptr;
    QLabel *StatusBar = nullptr;
    /// View > Key Frame Strip: under the controls while the option is on.
    toolkit::TThumbnailStrip *stripKeyFrames = nullptr;
    /// The Frame menu's commands, opened on a thumbnail.
    QMenu *KeyFrameStripMenu = nullptr;
    /// Under the preview while the current move has a video reference: the
    /// time and number of the frame on screen, and a slider over the video.
    QWidget *rowReference = nullptr;
    QLabel *lblReferenceTime = nullptr;
    QSlider *sldReference = nullptr;

    toolkit::TMainMenu MainMenu;
    toolkit::TMenuItem *mnuFileNewRoutine = nullptr;
    toolkit::TMenuItem *mnuFile, *mnuFileLoad, *mnuFileSave, *mnuFileUploadtoEmpeg, *UploadtoEmpegAsBreakdance,
        *UploadtoEmpegAsPrinceDance, *UploadtoEmpegAsStonkDance, *mnuFileDownloadFromEmpeg,
        *mnuFileDownloadFromEmpegBreakDance, *mnuFileDownloadFromEmpegPrinceDance,
        *mnuFileDownloadFromEmpegStonkDance, *mnuFileRebootEmpeg, *mnuFileQuit;
    toolkit::TMenuItem *mnuFileExportMoveAsGif;
    toolkit::TMenuItem *mnuFileSaveAs, *mnuFileOpenRecent, *mnuFileOpenRecentSeparator, *mnuFileOpenRecentClear;
    std::array<toolkit::TMenuItem *, kRecentFileCount> mnuFileOpenRecentItems{};
    toolkit::TMenuItem *mnuEdit = nullptr, *mnuEditUndo = nullptr, *mnuEditRedo = nullptr;
    toolkit::TMenuItem *mnuMove, *mnuMovePlay, *mnuMoveAddMove, *mnuMoveRenameMove, *mnuMoveDeleteMove;
    toolkit::TMenuItem *mnuMoveDuplicateMove, *mnuMoveMoveUp, *mnuMoveMoveDown;
    toolkit::TMenuItem *mnuMovePlaySelection, *mnuMovePlayRoutine, *mnuMoveCopyMove, *mnuMovePasteMove;
    toolkit::TMenuItem *mnuFileImportMoves;
    toolkit::TMenuItem *mnuFrame, *mnuFrameAddFrame, *mnuFrameInsertFrame, *mnuFrameDeleteFrame, *mnuFrameCopy,
        *mnuFrameCutFrame, *mnuFramePaste, *mnuFrameUndoFrame;
    toolkit::TMenuItem *mnuFrameRedoFrame, *mnuFrameMirrorPose;
    toolkit::TMenuItem *mnuFramePasteKeyFrames, *mnuFrameSelectAll, *mnuFrameReverse;
    toolkit::TMenuItem *mnuFramePinBodyPart, *mnuFrameUnpinAll;
    toolkit::TMenuItem *mnuOptions, *mnuOptionsDragWithoutShift, *mnuOptionsPlayContinuously,
        *mnuOptionsSetempegNetworkName, *mnuOptionGrid, *mnuOptionGridSnapToGrid, *mnuOptionGridSetGridSize,
        *mnuOptionGridCurrentSize;
    toolkit::TMenuItem *mnuOptionsKeepBoneLengths = nullptr;
    toolkit::TMenuItem *mnuOptionsCtrlZUndoesAnyChange = nullptr;
    toolkit::TMenuItem *mnuView, *mnuViewOnionSkin, *mnuViewPlaybackSpeed, *mnuViewPlaybackSpeedNormal,
        *mnuViewPlaybackSpeedHalf, *mnuViewPlaybackSpeedQuarter;
    toolkit::TMenuItem *mnuViewKeyFrameStrip, *mnuViewShowGrid, *mnuViewFitPreviewToWindow;
    toolkit::TMenuItem *mnuViewZoom = nullptr, *mnuViewZoom1 = nullptr, *mnuViewZoom2 = nullptr,
                       *mnuViewZoom3 = nullptr;
    toolkit::TMenuItem *mnuViewReference, *mnuViewReferenceChoose, *mnuViewReferenceShow, *mnuViewReferenceOpacity,
        *mnuViewReferenceOpacity25, *mnuViewReferenceOpacity50, *mnuViewReferenceOpacity75,
        *mnuViewReferenceOpacity100, *mnuViewReferenceMirror, *mnuViewReferenceAdjust, *mnuViewReferenceSetStart, *mnuViewReferenceNextFrame,
        *mnuViewReferencePreviousFrame, *mnuViewReferenceRemove;
    toolkit::TMenuItem *mnuFrameTimeKeyFrame;

    toolkit::FileDialogSpec OpenDialog;
    toolkit::FileDialogSpec SaveDialog;
    toolkit::FileDialogSpec ExportGifDialog;
    toolkit::FileDialogSpec ImportDialog;
    toolkit::FileDialogSpec ReferenceDialog;
    std::unique_ptr<toolkit::TTimer> Timer;
    /// Writes the recovery copy once, 30 seconds after a change.
    std::unique_ptr<toolkit::TTimer> RecoveryTimer;
    std::unique_ptr<TIdFTP> IdFTP;

    // The routine and the editing state, read through the core's accessors.
    RoutineEditor Core;
    /// The Options and View menus' options and the grid size: the menus
    /// show them, the settings file keeps them.
    EditorSettings Options;
    /// The mouse's drag of a body part, and the keyboard's nudges.
    PoseDrag Drag{Core};
    NudgeRun Nudges{Core};
    /// The hands and ankles pinned where they are while the body moves: for
    /// every key frame, for the editing session (a new routine clears them),
    /// written nowhere.
    PinnedEnds Pins;
    bool UpdatingControls = false;
    std::string NetworkName;
    /// File > Open Recent and the folder the file dialogs start in.
    RecentFiles Recent;

    // Shell.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormDestroy();
    void ShowStatus(const std::string &message);
    void TimerTimer();
    void ReportError(const std::string &message);
    void SetEditingEnabled(bool enabled);
    void LoadSettings();
    void SaveSettings();
    /// An option or a setting changed: the menus show it, and the settings
    /// file is written at once (once it has been read), so a crash loses
    /// none of them.
    void SettingsChanged();
    /// The Options and View menus' check marks and the grid size's caption
    /// as Options says.
    void ShowOptions();

    // Routine files.
    void ParseRoutine(const std::string &data);
    std::string SerialiseRoutine() const;
    void mnuFileLoadClick();
    void mnuFileSaveClick();
    void mnuFileSaveAsClick();
    /// Writes the routine to path, which becomes its own file.
    void SaveRoutineTo(const std::string &path);
    void mnuFileOpenRecentClick(int slot);
    void mnuFileOpenRecentClearClick();
    /// Brings Open Recent in line with the list; missing files are disabled.
    void UpdateRecentMenu();
    /// The folder the file dialogs start in.
    std::string DialogFolder() const;
    /// The caption as the routine's file and Modified say.
    void UpdateCaption();
    void mnuFileExportMoveAsGifClick();
    QString MoveItemText(int index, const std::string &name) const;
    void RebuildMoveSelector();

    // The session: unsaved changes, replacing the routine, crash recovery.
    void mnuFileNewRoutineClick();
    /// Before the routine is replaced: true when there is nothing unsaved or
    /// the user agrees to lose it.
    bool ConfirmReplace();
    /// Reads a routine file as File > Load does once a file is chosen.
    void OpenRoutineFile(const std::string &path);
    /// Opens a file given on the command line once the window is shown.
    void SetStartupFile(const std::string &path) { m_startupFile = path; }
    /// The one listener of the core: brings the controls, the caption, the
    /// recovery copy and the key frame strip in line with a change.
    void RoutineChanged(const RoutineChange &change);
    void RecoveryTimerTimer();
    /// Offers the copies left by editors that ended without closing.
    void OfferRecoveredRoutines();
    /// The session is ending by a signal: writes the recovery copy at once
    /// while there are unsaved changes, keeping it for the next start to
    /// offer, and the settings; the caller then ends the process.
    void KeepSessionForSignal();
    /// A drag is taken when it carries one local file, which a drop opens.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    // View synchronisation.
    void RefreshView();
    void cbxMovesSelect();
    void cbxMovesChange();
    void spinFrameNumberChange();
    void cbxBodyPartChange();
    void spinPartChange();
    void spinInterpolateChange();
    void spinDisplacementChange();

    // Drawing and playback.
    void DrawFrame(const THFFrame &frame);
    void ImagePaint();
    void mnuMovePlayMoveClick();
    void PlayMove(const THFMove &move);
    /// One pass over key frames first..last of a move, as though they were a move.
    void PlayFrames(const THFMove &move, int first, int last);
    /// Move > Play Selection: the selected key frames.
    void mnuMovePlaySelectionClick();
    /// Move > Play Routine: every move in turn, the selector following.
    void mnuMovePlayRoutineClick();
    bool Playing() const { return m_playing; }
    /// Escape or F9 while a move plays: it ends after the step under way.
    bool StopRequested() const { return m_stopRequested; }
    void mnuViewOnionSkinClick();
    /// The factor of every playback pause: 1, 2 or 4; anything else is 1.
    void SetPlaybackSpeed(int speed);

    // The key frame strip.
    void mnuViewKeyFrameStripClick();
    /// Shows or puts away the strip, the window growing or shrinking by its height.
    void SetKeyFrameStripShown(bool shown);
    /// Brings the strip in line with the current move and key frame.
    void RefreshKeyFrameStrip();
    /// The same after a change of the selection only: every change of the
    /// routine has brought the strip in line already.
    void FollowKeyFrameStrip();
    /// During playback: frames the key frame being played towards.
    void KeyFrameStripTowards(int number);
    void stripKeyFramesSelect(int index);
    void stripKeyFramesMove(int from, int to);
    /// Shift+click: the range from the current key frame to item index.
    void stripKeyFramesExtend(int index);
    /// Left and Right in the strip: the key frame beside, or with Shift the range one longer or shorter.
    void stripKeyFramesStep(int by, bool extend);
    void stripKeyFramesContextMenu(int index, QPoint global);
    long long KeyFrameThumbnailsDrawn() const;

    // The preview's zoom and the window's size.
    /// Scales the preview, the window growing or shrinking to fit; anything
    /// but 2 or 3 is 1, and a zoom whose window would leave the screen's
    /// available area is lowered until it fits. While the preview fits the
    /// window, the zoom is kept for when it no longer does.
    void SetZoom(int zoom);
    /// View > Fit Preview to Window: on, the window can be sized and
    /// maximised and the preview takes the largest whole zoom beside the
    /// controls; off, the fixed window at View > Zoom's zoom.
    void SetFitPreviewToWindow(bool fit);
    void mnuViewFitPreviewToWindowClick();

    // Dragging and options.
    void ImageMouseDown(toolkit::TMouseButton button, toolkit::TShiftState shift, int x, int y);
    void ImageMouseMove(toolkit::TShiftState shift, int x, int y);
    void ImageMouseUp(toolkit::TMouseButton button, toolkit::TShiftState shift, int x, int y);
    /// While View > Reference > Adjust Placement is checked, the wheel scales the reference.
    void ImageWheel(int notches);
    /// The mouse places the current move's reference rather than its figure.
    bool AdjustingPlacement() const;
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    void mnuOptionsDragWithoutShiftClick();
    void mnuOptionsPlayContinuouslyClick();
    void mnuOptionGridSnapToGridClick();
    void mnuOptionGridSetGridSizeClick();
    void mnuOptionsKeepBoneLengthsClick();
    void mnuOptionsCtrlZUndoesAnyChangeClick();
    /// Frame > Pin Body Part: pins or frees the selected Hand or Ankle (a
    /// Foot, its Ankle); Unpin All frees them all.
    void mnuFramePinBodyPartClick();
    void mnuFrameUnpinAllClick();
    /// The pin commands enabled and checked as the selected body part is.
    void ShowPinCommands();
    void mnuViewShowGridClick();
    /// Asks before a change that Edit > Undo can take back, unless Options >
    /// Ctrl+Z Undoes Any Change is checked; true when it may be made.
    bool ConfirmUndoable(const std::string &question);
    /// Ctrl+arrow nudges the selected part, Ctrl+Shift+arrow the figure;
    /// returns whether the key was one, which the focused control never gets.
    bool NudgeKey(int key, Qt::KeyboardModifiers shift);

    // Move commands.
    void mnuMoveAddMoveClick();
    void mnuMoveRenameMoveClick();
    void mnuMoveDeleteMoveClick();
    void mnuMoveDuplicateMoveClick();
    /// Move Up (by -1) and Move Down (by 1); the key frame shown stays.
    void ShiftCurrentMove(int by);
    /// File > Import Moves: moves of another routine file, chosen in a list.
    void mnuFileImportMovesClick();
    /// The current move's playing time, as a tooltip on the move selector.
    void ShowPlayingTime();

    // The routine's history.
    void mnuEditUndoClick();
    void mnuEditRedoClick();
    /// The Edit menu's captions name the change Undo and Redo would make.
    void UpdateEditMenu();

    // Frame commands.
    void mnuFrameAddFrameClick();
    void mnuFrameInsertFrameClick();
    void DeleteCurrentFrame(bool ask);
    void mnuFrameDeleteFrameClick();
    void mnuFrameCopyClick();
    void mnuFrameCutFrameClick();
    void mnuFramePasteClick();
    void mnuFrameUndoFrameClick();
    void mnuFrameRedoFrameClick();
    void mnuFrameMirrorPoseClick();
    void mnuFramePasteKeyFramesClick();
    /// Frame > Select All Key Frames: shows the strip first.
    void mnuFrameSelectAllClick();
    void mnuFrameReverseClick();
    void mnuMoveCopyMoveClick();
    void mnuMovePasteMoveClick();

    // Device commands.
    /// Whether a transfer may start: no other one under way and a network
    /// name that can be right (otherwise the user is told why).
    bool CanStartTransfer();
    void UploadToEmpeg(const std::string &remoteName);
    void DownloadFromEmpeg(const std::string &remoteName);
    void UploadtoEmpegAsBreakdanceClick();
    void UploadtoEmpegAsPrinceDanceClick();
    void UploadtoEmpegAsStonkDanceClick();
    void mnuFileDownloadFromEmpegBreakDanceClick();
    void mnuFileDownloadFromEmpegPrinceDanceClick();
    void mnuFileDownloadFromEmpegStonkDanceClick();
    void mnuFileRebootEmpegClick();
    void mnuOptionsSetempegNetworkNameClick();

    toolkit::Dialogs &Dialogs() { return *m_dialogs; }
    /// The reference frame the preview shows last (a test seam).
    const ClipFrame &ReferenceShown() const { return m_shownFrame; }
    /// Playback steps whose reference frame was not decoded in time: they
    /// showed the frame before.
    long long ReferenceStepsLate = 0;
    /// How long a playback step waits for its reference frame; none, so that
    /// no step waits (tests on virtual time wait).
    std::chrono::milliseconds ReferenceWait{0};
    /// Before a pass over key frames first..last: the frames of its steps
    /// decoded ahead, and the first shown.
    void StartReferencePlayback(const THFMove &move, int first, int last);
    /// A playback step: the reference frame at its time behind it.
    void ShowPlaybackReference();
    toolkit::Platform &Platform() { return m_platform; }

protected:
    void showEvent(QShowEvent *event) override;
    /// Lays the controls out again as the client area's size changes while
    /// the preview fits the window.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    /// Shows the move and key frame the core selected after a change of the
    /// moves or of the key frames.
    void ShowSelection();
    /// Shows where Edit > Undo or Redo took the routine: move, key frame and,
    /// when the change named one, body part.
    void ShowHistorySelection(const EditSelection &where);
    /// Shows the current key frame again after a change of its pose, leaving
    /// alone the boxes that already show its numbers (the one being typed in).
    void ShowEditedFrame();
    /// Enables the Move and Frame commands as the core's table says.
    void EnableCommands();
    /// Runs passes until one ends without Play Continuously (or a stop or a
    /// close is asked for), with editing locked, then finish selects what is
    /// shown afterwards.
    void Play(const std::function<void()> &pass, const std::function<void()> &finish);
    /// The strip marks the range selected, if any.
    void MarkKeyFrameRange();
    /// The parts the preview marks as pinned: none while a move plays.
    std::vector<int> PinMarks() const;
    /// Follows the desktop's clipboard: whether it holds key frames or
    /// moves the Paste commands can take.
    void WatchClipboard();
    void ClipboardChanged();
    /// The key frames Paste and Paste Key Frames take: the desktop
    /// clipboard's, else the window's own clipboard; none (told) when the
    /// clipboard's text is not valid.
    std::optional<std::string> ClipboardKeyFrames();
    /// "Delete current frame?", or for a range "Delete frames 3 to 6?".
    std::string RangeQuestion(const char *verb) const;
    /// Brings the controls in line with a change of the routine.
    void ShowChange(const RoutineChange &change);
    /// Loads the X and Y boxes of the selected body part without editing.
    void ShowPartPosition(int part);
    /// Asks for one line of text; the answer, or none when cancelled.
    std::optional<std::string> AskString(const std::string &text, int maxLength, const std::string &title);

    /// The client area's size in the fixed window at a zoom.
    QSize FixedClientSize(int zoom) const;
    /// The strip's height with thumbnails at a scale.
    int StripHeight(int scale) const;
    /// Places the Result box, the preview in it and the strip in a client
    /// area of the given size.
    void ArrangeControls(QSize client);
    /// The fixed window at the zoom Options asks for.
    void ArrangeFixedWindow();
    /// After the strip or the reference's row came or went: the fixed window
    /// grows or shrinks with them, a window the user sized keeps its size.
    void ArrangeWindow();
    /// The largest whole zoom and thumbnail scale for the client area's size.
    void FitPreview();
    /// Brings the window's size and place within the screen's available area,
    /// lowering a zoom that does not fit and offering only the zooms that do.
    void KeepInsideScreen();
    /// Where the window is, kept in Options while the preview fits the window.
    void RememberPlace();
    /// Edit > Undo and Redo and the key frame's own on the keys Options says.
    void ShowUndoKeys();
    /// What the preview shows behind the figure: the grid while View > Show
    /// Grid is checked, the current move's reference while it has one and
    /// View > Reference > Show Reference is checked. Drawn again only when
    /// it changed; redraw draws the key frame over it at once.
    void ShowBackdrop(bool redraw);
    /// Gives the preview the backdrop wanted; false when it shows it already.
    bool SetPreviewBackdrop(const Backdrop &wanted);
    /// The reference at the current key frame's time, then ShowBackdrop.
    void FollowReference(bool redraw);
    /// The current move's reference frame at m_referenceTime, the clip
    /// opened on first need; none when there is none or it cannot be read
    /// (the status line says why).
    const ClipFrame *ReferenceFrame();
    /// The reference commands enabled and checked as the current move's reference is.
    void ShowReferenceControls();
    void WireReferenceMenu();
    /// Whether the moves' references are those the routine's sidecar was
    /// last written or read with (none for a routine without a file).
    bool ReferencesSaved() const;
    /// Notes the moves' references as the sidecar now holds them.
    void NoteReferencesSaved();
    void CreateReferenceRow();
    /// The row's time and slider at the frame on screen.
    void ShowReferenceTime();
    /// What key frame `number`'s thumbnail is drawn over: its reference frame
    /// at half the preview's size, or none.
    QImage StripBackdrop(int number);
    void mnuViewReferenceChooseClick();
    void mnuViewReferenceSetStartClick();
    void mnuFrameTimeKeyFrameClick();
    /// One change of the current move's reference, named by label.
    void ChangeReference(const char *label, const std::function<void(MoveReference &)> &change);
    /// The video frame after (1) or before (-1) the one on screen, the selection unchanged.
    void StepReference(int frames);
    void CreateControls();
    void CreateKeyFrameStrip();
    void CreateKeyFrameStripMenu();
    void CreateMenu();
    void WireEvents();

    toolkit::Platform &m_platform;
    std::unique_ptr<toolkit::Dialogs> m_ownDialogs;
    toolkit::Dialogs *m_dialogs;
    std::string m_settingsPath;
    std::string m_settingsReadPath;
    toolkit::KeyRouter *m_keys = nullptr;
    bool m_shown = false;
    bool m_destroyed = false;
    bool m_playing = false;
    bool m_stopRequested = false;
    bool m_settingsLoaded = false;
    bool m_closeRequested = false;
    bool m_deviceBusy = false;
    bool m_clipboardOffers = false;  // the desktop clipboard holds key frames, moves or their text
    std::unique_ptr<RecoveryStore> m_recovery;
    bool m_recoveryFailureShown = false;
    std::string m_startupFile;
    bool m_stripShown = false;
    bool m_fitting = false;  // the preview fits the window
    bool m_referenceRowShown = false;
    Backdrop m_backdrop;      // what the preview's backdrop shows
    int m_backdropZoom = 1;   // the zoom it was drawn for
    std::unique_ptr<ReferenceClip> m_clip;
    std::string m_clipFile;   // the file m_clip was opened from, or failed to open
    ClipFrame m_shownFrame;
    double m_referenceTime = 0;  // on the reference's time line
    bool m_showReference = true;
    bool m_adjustPlacement = false;  // View > Reference > Adjust Placement
    std::map<long long, QImage> m_stripBackdrops;  // by time after the start in ms, for m_stripBackdropsOf
    MoveReference m_stripBackdropsOf;
    std::unique_ptr<ReferenceFrames> m_playFrames;  // while a pass with a reference plays
    std::vector<std::optional<MoveReference>> m_savedReferences;
    // A drag of the reference's placement: where it was pressed, the placement then, whether it moved.
    QPoint m_placementPress;
    MoveReference m_placementFrom;
    bool m_placementMoved = false;
    size_t m_playStep = 0;
    std::unique_ptr<KeyFrameThumbnails> m_thumbnails;
    /// The labels the Edit menu shows.
    bool m_editMenuShown = false;
    std::string m_undoShown, m_redoShown;
    bool m_captionShowsModified = false;  // the mark UpdateCaption put in the title
    /// The preview's key-frame drawing: a drag step clears and draws only
    /// the figure's surroundings.
    KeyFrameRedraw m_keyFrameRedraw;
};

} // namespace hoofer
