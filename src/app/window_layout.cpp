// The window's design: every control with its place, size and caption, the
// menu with its shortcuts, and which handler each event runs.
#include "hoofer_window.h"

#include "edit/grid_snap.h"
#include "toolkit/guard.h"
#include "toolkit/text.h"

#include <QActionGroup>
#include <QGroupBox>
#include <QDir>
#include <QLabel>
#include <QMenu>

namespace hoofer {

namespace {

QGroupBox *Group(QWidget *parent, const char *caption, int left, int top, int width, int height)
{
    auto *g = new QGroupBox(caption, parent);
    g->setGeometry(left, top, width, height);
    return g;
}

QLabel *Label(QWidget *parent, const char *caption, int left, int top)
{
    auto *l = new QLabel(caption, parent);
    l->move(left, top);
    l->adjustSize();
    return l;
}

toolkit::TSpinEdit *Spin(QWidget *parent, int left, int top, int width, int min, int max, int value)
{
    auto *s = new toolkit::TSpinEdit(parent);
    s->setGeometry(left, top, width, 22);
    s->SetMinValue(min);
    s->SetMaxValue(max);
    s->Editor()->setText(QString::number(value));
    return s;
}

toolkit::TComboBox *Combo(QWidget *parent, int left, int top)
{
    auto *c = new toolkit::TComboBox(parent);
    c->setGeometry(left, top, 120, 21);
    return c;
}

} // namespace

void TfrmHoofer::CreateControls()
{
    // A font of the size the layout was drawn for: 11 pixels high.
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    setFont(font);

    Client = new QWidget(this);
    Client->setFixedSize(553, 327);
    setCentralWidget(Client);
    Client->installEventFilter(this);

    grpMoveAndFrame = Group(Client, "Move and Frame", 8, 0, 257, 105);
    lblCurrentMove = Label(grpMoveAndFrame, "Current Move", 8, 16);
    cbxMoves = Combo(grpMoveAndFrame, 8, 32);
    lblCurrentFrameNumber = Label(grpMoveAndFrame, "Current Key Frame", 130, 16);
    spinFrameNumber = Spin(grpMoveAndFrame, 130, 32, 120, 1, 1, 1);
    lblFrameInterpolation = Label(grpMoveAndFrame, "Frame Interpolation", 8, 56);
    spinInterpolate = Spin(grpMoveAndFrame, 8, 72, 120, 0, 255, 0);
    lblFrameDisplacement = Label(grpMoveAndFrame, "Frame Displacement", 130, 56);
    // The file keeps a displacement in one signed byte: 128 would read back as -128.
    spinDisplacement = Spin(grpMoveAndFrame, 130, 72, 120, -128, 127, 0);

    grpBodyParts = Group(Client, "Body Parts for Current Frame", 8, 112, 257, 65);
    lblBodyPart = Label(grpBodyParts, "Body Part", 8, 16);
    cbxBodyPart = Combo(grpBodyParts, 8, 32);
    for (const char *text : kBodyPartTexts)
        cbxBodyPart->AddItem(text);
    cbxBodyPart->SetText("Shoulders");
    lblBodyPartXPos = Label(grpBodyParts, "X Pos", 134, 16);
    spinPartX = Spin(grpBodyParts, 134, 32, 50, 0, 255, 0);
    lblBodyPartYPos = Label(grpBodyParts, "Y Pos", 190, 16);
    spinPartY = Spin(grpBodyParts, 190, 32, 50, 0, 255, 0);

    grpResult = Group(Client, "Result", 272, 0, 275, 322);
    grpResult->setFixedSize(275, 322);
    Image = new toolkit::TPaintBox(256, 296, grpResult);
    Image->move(10, 16);

    grpStatus = Group(Client, "Status", 8, 282, 257, 39);
    StatusBar = new QLabel(grpStatus);
    StatusBar->setGeometry(6, 13, 247, 19);
    StatusBar->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    CreateKeyFrameStrip();
    CreateReferenceRow();

    QWidget::setTabOrder(cbxMoves, spinFrameNumber);
    QWidget::setTabOrder(spinFrameNumber, spinInterpolate);
    QWidget::setTabOrder(spinInterpolate, spinDisplacement);
    QWidget::setTabOrder(spinDisplacement, cbxBodyPart);
    QWidget::setTabOrder(cbxBodyPart, spinPartX);
    QWidget::setTabOrder(spinPartX, spinPartY);

    const std::string home = toolkit::PathFromQt(QDir::homePath());
    OpenDialog = {"Hoofer Routines|*.raw|(All Files)|*.*", "*.raw", home, ""};
    SaveDialog = {"Hoofer Routines|*.raw", "*.raw", home, ""};
    ExportGifDialog = {"Animated GIF|*.gif", "*.gif", home, ""};
    ImportDialog = {"Hoofer Routines|*.raw|(All Files)|*.*", "*.raw", home, ""};
    ReferenceDialog = {"Videos and Pictures|*.mp4;*.webm;*.mkv;*.mov;*.avi;*.gif;*.png;*.jpg;*.jpeg;*.bmp|(All Files)|*.*",
                       "", home, ""};
}

void TfrmHoofer::CreateMenu()
{
    using K = QKeySequence;
    mnuFile = MainMenu.Add("mnuFile", "&File");
    mnuFileNewRoutine = mnuFile->Add("mnuFileNewRoutine", "&New Routine", K(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    mnuFileLoad = mnuFile->Add("mnuFileLoad", "&Load", K(Qt::CTRL | Qt::Key_O));
    mnuFileImportMoves = mnuFile->Add("mnuFileImportMoves", "Import Moves…");
    mnuFileOpenRecent = mnuFile->Add("mnuFileOpenRecent", "Open Recent");
    for (int slot = 0; slot < kRecentFileCount; ++slot)
        mnuFileOpenRecentItems[slot] = mnuFileOpenRecent->Add("mnuFileOpenRecent" + QString::number(slot + 1), "");
    mnuFileOpenRecentSeparator = mnuFileOpenRecent->Add("N5", "-");
    mnuFileOpenRecentClear = mnuFileOpenRecent->Add("mnuFileOpenRecentClear", "Clear List");
    mnuFileSave = mnuFile->Add("mnuFileSave", "&Save", K(Qt::CTRL | Qt::Key_S));
    mnuFileSaveAs = mnuFile->Add("mnuFileSaveAs", "Save As…", K(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mnuFileExportMoveAsGif = mnuFile->Add("mnuFileExportMoveAsGif", "Export Move as GIF…");
    mnuFile->Add("N3", "-");
    mnuFileUploadtoEmpeg = mnuFile->Add("mnuFileUploadtoEmpeg", "Upload to empeg");
    UploadtoEmpegAsBreakdance = mnuFileUploadtoEmpeg->Add("UploadtoEmpegAsBreakdance", "As BreakDance");
    UploadtoEmpegAsPrinceDance = mnuFileUploadtoEmpeg->Add("UploadtoEmpegAsPrinceDance", "As PrinceDance");
    UploadtoEmpegAsStonkDance = mnuFileUploadtoEmpeg->Add("UploadtoEmpegAsStonkDance", "As StonkDance");
    mnuFileDownloadFromEmpeg = mnuFile->Add("mnuFileDownloadFromEmpeg", "Download from Empeg");
    mnuFileDownloadFromEmpegBreakDance = mnuFileDownloadFromEmpeg->Add("mnuFileDownloadFromEmpegBreakDance", "BreakDance");
    mnuFileDownloadFromEmpegPrinceDance = mnuFileDownloadFromEmpeg->Add("mnuFileDownloadFromEmpegPrinceDance", "PrinceDance");
    mnuFileDownloadFromEmpegStonkDance = mnuFileDownloadFromEmpeg->Add("mnuFileDownloadFromEmpegStonkDance", "StonkDance");
    mnuFileRebootEmpeg = mnuFile->Add("mnuFileRebootEmpeg", "Reboot empeg");
    mnuFile->Add("N6", "-");
    mnuFileQuit = mnuFile->Add("mnuFileQuit", "&Quit", K(Qt::CTRL | Qt::Key_Q));

    mnuEdit = MainMenu.Add("mnuEdit", "Edit");
    mnuEditUndo = mnuEdit->Add("mnuEditUndo", "Undo", K(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    mnuEditRedo = mnuEdit->Add("mnuEditRedo", "Redo", K(Qt::CTRL | Qt::ALT | Qt::Key_Y));
    mnuEditUndo->SetEnabled(false);
    mnuEditRedo->SetEnabled(false);

    mnuMove = MainMenu.Add("mnuMove", "Move");
    mnuMovePlay = mnuMove->Add("mnuMovePlay", "Play Move", K(Qt::Key_F9));
    mnuMovePlaySelection = mnuMove->Add("mnuMovePlaySelection", "Play Selection", K(Qt::SHIFT | Qt::Key_F9));
    mnuMovePlayRoutine = mnuMove->Add("mnuMovePlayRoutine", "Play Routine", K(Qt::CTRL | Qt::Key_F9));
    mnuMove->Add("N1", "-");
    mnuMoveAddMove = mnuMove->Add("mnuMoveAddMove", "Add Move", K(Qt::CTRL | Qt::ALT | Qt::Key_N));
    mnuMoveRenameMove = mnuMove->Add("mnuMoveRenameMove", "Rename Move", K(Qt::CTRL | Qt::Key_R));
    mnuMoveDuplicateMove = mnuMove->Add("mnuMoveDuplicateMove", "Duplicate Move", K(Qt::CTRL | Qt::Key_D));
    mnuMoveCopyMove = mnuMove->Add("mnuMoveCopyMove", "Copy Move");
    mnuMovePasteMove = mnuMove->Add("mnuMovePasteMove", "Paste Move");
    // Ctrl+Alt+Up and Down switch workspaces on GNOME, Xfce and openbox; Ctrl+Shift+Page Up and Down move a
    // tab in browsers and terminals, and no common desktop takes them.
    mnuMoveMoveUp = mnuMove->Add("mnuMoveMoveUp", "Move Up", K(Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp));
    mnuMoveMoveDown = mnuMove->Add("mnuMoveMoveDown", "Move Down", K(Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown));
    mnuMove->Add("N4", "-");
    mnuMoveDeleteMove = mnuMove->Add("mnuMoveDeleteMove", "Delete Move", K(Qt::CTRL | Qt::Key_Delete));

    mnuFrame = MainMenu.Add("mnuFrame", "Frame");
    mnuFrameAddFrame = mnuFrame->Add("mnuFrameAddFrame", "Add New Frame", K(Qt::CTRL | Qt::Key_N));
    mnuFrameInsertFrame = mnuFrame->Add("mnuFrameInsertFrame", "Insert Frame", K(Qt::Key_Insert));
    mnuFrameDeleteFrame = mnuFrame->Add("mnuFrameDeleteFrame", "Delete Frame", K(Qt::Key_Delete));
    mnuFrame->Add("N2", "-");
    mnuFrameCopy = mnuFrame->Add("mnuFrameCopy", "Copy", K(Qt::CTRL | Qt::Key_C));
    mnuFrameCutFrame = mnuFrame->Add("mnuFrameCutFrame", "Cut", K(Qt::CTRL | Qt::Key_X));
    mnuFramePaste = mnuFrame->Add("mnuFramePaste", "Paste", K(Qt::CTRL | Qt::Key_V));
    mnuFramePasteKeyFrames = mnuFrame->Add("mnuFramePasteKeyFrames", "Paste Key Frames", K(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    mnuFrameUndoFrame = mnuFrame->Add("mnuFrameUndoFrame", "Undo", K(Qt::CTRL | Qt::Key_Z));
    mnuFrameRedoFrame = mnuFrame->Add("mnuFrameRedoFrame", "Redo", K(Qt::CTRL | Qt::Key_Y));
    mnuFrameMirrorPose = mnuFrame->Add("mnuFrameMirrorPose", "Mirror Pose", K(Qt::CTRL | Qt::Key_M));
    mnuFramePinBodyPart = mnuFrame->Add("mnuFramePinBodyPart", "Pin Body Part", K(Qt::CTRL | Qt::Key_P));
    mnuFrameUnpinAll = mnuFrame->Add("mnuFrameUnpinAll", "Unpin All");
    mnuFrameTimeKeyFrame = mnuFrame->Add("mnuFrameTimeKeyFrame", "Time Key Frame to Reference");
    mnuFrame->Add("N3", "-");
    mnuFrameSelectAll = mnuFrame->Add("mnuFrameSelectAll", "Select All Key Frames", K(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    mnuFrameReverse = mnuFrame->Add("mnuFrameReverse", "Reverse Key Frames", K(Qt::CTRL | Qt::SHIFT | Qt::Key_R));

    mnuOptions = MainMenu.Add("mnuOptions", "Options");
    mnuOptionsDragWithoutShift = mnuOptions->Add("mnuOptionsDragWithoutShift", "Drag Without Shift");
    mnuOptionsPlayContinuously = mnuOptions->Add("mnuOptionsPlayContinuously", "Play Continuously");
    mnuOptionsKeepBoneLengths = mnuOptions->Add("mnuOptionsKeepBoneLengths", "Keep Bone Lengths");
    mnuOptionsCtrlZUndoesAnyChange = mnuOptions->Add("mnuOptionsCtrlZUndoesAnyChange", "Ctrl+Z Undoes Any Change");
    mnuOptionsSetempegNetworkName = mnuOptions->Add("mnuOptionsSetempegNetworkName", "Set empeg Network Name");
    mnuOptionGrid = mnuOptions->Add("mnuOptionGrid", "Grid");
    mnuOptionGridSnapToGrid = mnuOptionGrid->Add("mnuOptionGridSnapToGrid", "Snap To Grid");
    mnuOptionGridSetGridSize = mnuOptionGrid->Add("mnuOptionGridSetGridSize", "Set Grid Size");
    mnuOptionGridCurrentSize = mnuOptionGrid->Add("mnuOptionGridCurrentSize", "");
    mnuOptionGridCurrentSize->SetEnabled(false);

    mnuView = MainMenu.Add("mnuView", "View");
    mnuViewOnionSkin = mnuView->Add("mnuViewOnionSkin", "Onion Skin");
    mnuViewKeyFrameStrip = mnuView->Add("mnuViewKeyFrameStrip", "Key Frame Strip");
    mnuViewShowGrid = mnuView->Add("mnuViewShowGrid", "Show Grid");
    mnuViewPlaybackSpeed = mnuView->Add("mnuViewPlaybackSpeed", "Playback Speed");
    mnuViewPlaybackSpeedNormal = mnuViewPlaybackSpeed->Add("mnuViewPlaybackSpeedNormal", "Normal");
    mnuViewPlaybackSpeedHalf = mnuViewPlaybackSpeed->Add("mnuViewPlaybackSpeedHalf", "Half");
    mnuViewPlaybackSpeedQuarter = mnuViewPlaybackSpeed->Add("mnuViewPlaybackSpeedQuarter", "Quarter");
    mnuViewZoom = mnuView->Add("mnuViewZoom", "Zoom");
    mnuViewZoom1 = mnuViewZoom->Add("mnuViewZoom1", "1×", K(Qt::CTRL | Qt::Key_1));
    mnuViewZoom2 = mnuViewZoom->Add("mnuViewZoom2", "2×", K(Qt::CTRL | Qt::Key_2));
    mnuViewZoom3 = mnuViewZoom->Add("mnuViewZoom3", "3×", K(Qt::CTRL | Qt::Key_3));
    mnuViewFitPreviewToWindow = mnuView->Add("mnuViewFitPreviewToWindow", "Fit Preview to Window");
    mnuViewReference = mnuView->Add("mnuViewReference", "Reference");
    mnuViewReferenceChoose = mnuViewReference->Add("mnuViewReferenceChoose", "Choose…");
    mnuViewReferenceShow = mnuViewReference->Add("mnuViewReferenceShow", "Show Reference");
    mnuViewReferenceOpacity = mnuViewReference->Add("mnuViewReferenceOpacity", "Opacity");
    mnuViewReferenceOpacity25 = mnuViewReferenceOpacity->Add("mnuViewReferenceOpacity25", "25 %");
    mnuViewReferenceOpacity50 = mnuViewReferenceOpacity->Add("mnuViewReferenceOpacity50", "50 %");
    mnuViewReferenceOpacity75 = mnuViewReferenceOpacity->Add("mnuViewReferenceOpacity75", "75 %");
    mnuViewReferenceOpacity100 = mnuViewReferenceOpacity->Add("mnuViewReferenceOpacity100", "100 %");
    mnuViewReferenceMirror = mnuViewReference->Add("mnuViewReferenceMirror", "Mirror Reference");
    mnuViewReferenceAdjust = mnuViewReference->Add("mnuViewReferenceAdjust", "Adjust Placement");
    mnuViewReference->Add("N7", "-");
    mnuViewReferencePreviousFrame =
        mnuViewReference->Add("mnuViewReferencePreviousFrame", "Previous Video Frame", K(Qt::ALT | Qt::Key_Left));
    mnuViewReferenceNextFrame =
        mnuViewReference->Add("mnuViewReferenceNextFrame", "Next Video Frame", K(Qt::ALT | Qt::Key_Right));
    mnuViewReferenceSetStart = mnuViewReference->Add("mnuViewReferenceSetStart", "Set Start Here");
    mnuViewReference->Add("N8", "-");
    mnuViewReferenceRemove = mnuViewReference->Add("mnuViewReferenceRemove", "Remove Reference");
    // Until the settings file is read, Snap To Grid is on.
    Options.SnapToGrid = true;
    ShowOptions();
    EnableCommands();

    MainMenu.Realise(this, menuBar());
    // The speeds show as radio items; the handlers still set the marks.
    auto *speeds = new QActionGroup(this);
    for (toolkit::TMenuItem *item : {mnuViewPlaybackSpeedNormal, mnuViewPlaybackSpeedHalf, mnuViewPlaybackSpeedQuarter})
        speeds->addAction(item->Action());
    auto *zooms = new QActionGroup(this);
    for (toolkit::TMenuItem *item : {mnuViewZoom1, mnuViewZoom2, mnuViewZoom3})
        zooms->addAction(item->Action());
    CreateKeyFrameStripMenu();
    // Files come and go while the editor runs: looked at again on every opening.
    QObject::connect(mnuFileOpenRecent->Menu(), &QMenu::aboutToShow, this, [this] { UpdateRecentMenu(); });
    UpdateRecentMenu();
}

void TfrmHoofer::WireEvents()
{
    cbxMoves->OnChange = [this] { cbxMovesChange(); };
    cbxMoves->OnCloseUp = [this] { cbxMovesChange(); };
    cbxMoves->OnExit = [this] { cbxMovesChange(); };
    cbxMoves->OnSelect = [this] { cbxMovesSelect(); };
    spinFrameNumber->OnChange = [this] { spinFrameNumberChange(); };
    spinInterpolate->OnChange = [this] { spinInterpolateChange(); };
    spinDisplacement->OnChange = [this] { spinDisplacementChange(); };
    cbxBodyPart->OnChange = [this] { cbxBodyPartChange(); };
    spinPartX->OnChange = [this] { spinPartChange(); };
    spinPartY->OnChange = [this] { spinPartChange(); };
    Image->OnPaint = [this] { ImagePaint(); };
    Image->OnMouseDown = [this](auto b, auto s, int x, int y) { ImageMouseDown(b, s, x, y); };
    Image->OnMouseMove = [this](auto s, int x, int y) { ImageMouseMove(s, x, y); };
    Image->OnMouseUp = [this](auto b, auto s, int x, int y) { ImageMouseUp(b, s, x, y); };
    Image->OnWheel = [this](int notches) { ImageWheel(notches); };

    mnuFileNewRoutine->OnClick = [this] { mnuFileNewRoutineClick(); };
    mnuFileLoad->OnClick = [this] { mnuFileLoadClick(); };
    mnuFileSave->OnClick = [this] { mnuFileSaveClick(); };
    mnuFileSaveAs->OnClick = [this] { mnuFileSaveAsClick(); };
    for (int slot = 0; slot < kRecentFileCount; ++slot)
        mnuFileOpenRecentItems[slot]->OnClick = [this, slot] { mnuFileOpenRecentClick(slot); };
    mnuFileOpenRecentClear->OnClick = [this] { mnuFileOpenRecentClearClick(); };
    mnuFileExportMoveAsGif->OnClick = [this] { mnuFileExportMoveAsGifClick(); };
    UploadtoEmpegAsBreakdance->OnClick = [this] { UploadtoEmpegAsBreakdanceClick(); };
    UploadtoEmpegAsPrinceDance->OnClick = [this] { UploadtoEmpegAsPrinceDanceClick(); };
    UploadtoEmpegAsStonkDance->OnClick = [this] { UploadtoEmpegAsStonkDanceClick(); };
    mnuFileDownloadFromEmpegBreakDance->OnClick = [this] { mnuFileDownloadFromEmpegBreakDanceClick(); };
    mnuFileDownloadFromEmpegPrinceDance->OnClick = [this] { mnuFileDownloadFromEmpegPrinceDanceClick(); };
    mnuFileDownloadFromEmpegStonkDance->OnClick = [this] { mnuFileDownloadFromEmpegStonkDanceClick(); };
    mnuFileRebootEmpeg->OnClick = [this] { mnuFileRebootEmpegClick(); };
    // As the window's close button: the question, then the end.
    mnuFileQuit->OnClick = [this] { close(); };
    mnuEditUndo->OnClick = [this] { mnuEditUndoClick(); };
    mnuEditRedo->OnClick = [this] { mnuEditRedoClick(); };
    mnuMovePlay->OnClick = [this] { mnuMovePlayMoveClick(); };
    mnuMovePlaySelection->OnClick = [this] { mnuMovePlaySelectionClick(); };
    mnuMovePlayRoutine->OnClick = [this] { mnuMovePlayRoutineClick(); };
    mnuMoveCopyMove->OnClick = [this] { mnuMoveCopyMoveClick(); };
    mnuMovePasteMove->OnClick = [this] { mnuMovePasteMoveClick(); };
    mnuMoveAddMove->OnClick = [this] { mnuMoveAddMoveClick(); };
    mnuMoveRenameMove->OnClick = [this] { mnuMoveRenameMoveClick(); };
    mnuMoveDeleteMove->OnClick = [this] { mnuMoveDeleteMoveClick(); };
    mnuMoveDuplicateMove->OnClick = [this] { mnuMoveDuplicateMoveClick(); };
    mnuMoveMoveUp->OnClick = [this] { ShiftCurrentMove(-1); };
    mnuMoveMoveDown->OnClick = [this] { ShiftCurrentMove(1); };
    mnuFileImportMoves->OnClick = [this] { mnuFileImportMovesClick(); };
    mnuFrameAddFrame->OnClick = [this] { mnuFrameAddFrameClick(); };
    mnuFrameInsertFrame->OnClick = [this] { mnuFrameInsertFrameClick(); };
    mnuFrameDeleteFrame->OnClick = [this] { mnuFrameDeleteFrameClick(); };
    mnuFrameCopy->OnClick = [this] { mnuFrameCopyClick(); };
    mnuFrameCutFrame->OnClick = [this] { mnuFrameCutFrameClick(); };
    mnuFramePaste->OnClick = [this] { mnuFramePasteClick(); };
    mnuFrameUndoFrame->OnClick = [this] { mnuFrameUndoFrameClick(); };
    mnuFrameRedoFrame->OnClick = [this] { mnuFrameRedoFrameClick(); };
    mnuFrameMirrorPose->OnClick = [this] { mnuFrameMirrorPoseClick(); };
    mnuFramePasteKeyFrames->OnClick = [this] { mnuFramePasteKeyFramesClick(); };
    mnuFrameSelectAll->OnClick = [this] { mnuFrameSelectAllClick(); };
    mnuFrameReverse->OnClick = [this] { mnuFrameReverseClick(); };
    mnuFramePinBodyPart->OnClick = [this] { mnuFramePinBodyPartClick(); };
    mnuFrameUnpinAll->OnClick = [this] { mnuFrameUnpinAllClick(); };
    mnuOptionsDragWithoutShift->OnClick = [this] { mnuOptionsDragWithoutShiftClick(); };
    mnuOptionsPlayContinuously->OnClick = [this] { mnuOptionsPlayContinuouslyClick(); };
    mnuOptionsSetempegNetworkName->OnClick = [this] { mnuOptionsSetempegNetworkNameClick(); };
    mnuOptionsKeepBoneLengths->OnClick = [this] { mnuOptionsKeepBoneLengthsClick(); };
    mnuOptionsCtrlZUndoesAnyChange->OnClick = [this] { mnuOptionsCtrlZUndoesAnyChangeClick(); };
    mnuViewShowGrid->OnClick = [this] { mnuViewShowGridClick(); };
    mnuViewFitPreviewToWindow->OnClick = [this] { mnuViewFitPreviewToWindowClick(); };
    WireReferenceMenu();
    mnuOptionGridSnapToGrid->OnClick = [this] { mnuOptionGridSnapToGridClick(); };
    mnuOptionGridSetGridSize->OnClick = [this] { mnuOptionGridSetGridSizeClick(); };
    mnuViewOnionSkin->OnClick = [this] { mnuViewOnionSkinClick(); };
    mnuViewKeyFrameStrip->OnClick = [this] {
        mnuViewKeyFrameStripClick();
        SettingsChanged();
    };
    for (const auto &[item, speed] : {std::pair{mnuViewPlaybackSpeedNormal, kNormalSpeed},
                                      {mnuViewPlaybackSpeedHalf, kHalfSpeed}, {mnuViewPlaybackSpeedQuarter, kQuarterSpeed}})
        item->OnClick = [this, speed] {
            SetPlaybackSpeed(speed);
            SettingsChanged();
        };
    for (const auto &[item, zoom] : {std::pair{mnuViewZoom1, 1}, {mnuViewZoom2, 2}, {mnuViewZoom3, 3}})
        item->OnClick = [this, zoom] {
            SetZoom(zoom);
            SettingsChanged();
        };
}

} // namespace hoofer
