#include "graphics/MapPictureFiles.h"
#include "map/OvPictCanvas.h"
#include "ovdata/OvDataRules.h"
#include "platform/ColonPath.h"
#include "platform/Dialogs.h"
#include "table/OvDataListBox.h"
#include "windows/EditorHost.h"
#include "windows/OvEditorWindow.h"
#include "windows/OvReloadWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

// A remembered game file, shared by every editing window for the rest of the run. Returns the
// file to read, or an empty string when there is none (the dialog was cancelled).
//
// A remembered file that has gone since (a disc ejected, a folder renamed) is forgotten and the
// user is asked again, as for a path that no longer resolves.
QString locateGameFile(QWidget* parent, QString& remembered, const FileDialogRequest& request) {
    if (!remembered.isEmpty() && !QFileInfo::exists(remembered))
        remembered.clear();
    if (remembered.isEmpty()) {
        const QString chosen = dialogs().openFile(parent, request);
        remembered = chosen.isEmpty() ? QString() : QFileInfo(chosen).absoluteFilePath();
    }
    return remembered;
}

// The picture becomes the map; the canvas shrinks to a smaller picture but never grows past the
// game's map size. Only the canvas's size changes here: its place, and the controls around it,
// follow at the window's next resize.
void showOnCanvas(OvPictCanvas* canvas, const QImage& picture) {
    canvas->setExtentSize(MapPictureFiles::canvasSizeFor(picture.size()));
    canvas->setMap(picture);
    canvas->Refresh();
}

} // namespace

void OvEditorWindow::ReadPICTFromUIfile(OvPictCanvas* canvas, int id) {
    EditorHost* host = editorHost();
    if (!host || !canvas)
        return;
    FileDialogRequest request;
    request.initialLocation = ColonPath::dialogStart(QStringLiteral("Brenmoor:Data:Graphics:UI"));
    request.title = QStringLiteral("Select file UI");
    request.promptText =
        QStringLiteral("select the BRM resource-fork-file 'UI' which contains the BRM background graphics.");
    const QString path = locateGameFile(this, host->rememberedUiFile(), request);
    if (path.isEmpty())
        return;

    const MapPicture picture = MapPictureFiles::readUiPicture(path, id);
    if (!picture.ok()) {
        // Every failure forgets the 'UI' file, so the next read asks for it again.
        host->rememberedUiFile().clear();
        MsgBox(picture.message, this);
        return;
    }
    showOnCanvas(canvas, picture.image);
}

void OvEditorWindow::ReadPictureFromIntrface(OvPictCanvas* canvas, int id) {
    EditorHost* host = editorHost();
    if (!host || !canvas)
        return;
    FileDialogRequest request;
    request.initialLocation = ColonPath::dialogStart(QStringLiteral("Brenmoor:Data:Graphics:Intrface.brm"));
    request.title = QStringLiteral("Select file Intrface.brm");
    request.promptText =
        QStringLiteral("select the BRM file 'Intrface.brm' which contains the BRM background graphics.");
    const QString path = locateGameFile(this, host->rememberedIntrfaceFile(), request);
    if (path.isEmpty())
        return;

    const MapPicture picture = MapPictureFiles::readIntrfacePicture(path, id);
    if (!picture.ok()) {
        // A container that holds nothing is forgotten; one that only lacks this picture is kept.
        if (picture.forgetFile)
            host->rememberedIntrfaceFile().clear();
        MsgBox(picture.message, this);
        return;
    }
    showOnCanvas(canvas, picture.image);
}

// The ID is part of the readers' common signature; a picture file holds one picture only.
void OvEditorWindow::ReadPictureFromGraphicsFile(OvPictCanvas* canvas, int) {
    if (!canvas)
        return;
    FileDialogRequest request;
    request.initialLocation = QCoreApplication::applicationDirPath();
    request.title = QStringLiteral("Select graphics file for input");
    request.promptText =
        QStringLiteral("select a file with the new background graphics, size should be %1x%2 pixels.")
            .arg(ov::rules::kMapWidth)
            .arg(ov::rules::kMapHeight);
    // Nothing is remembered: the user is asked every time.
    const QString path = dialogs().openFile(this, request);
    if (path.isEmpty())
        return;

    const MapPicture picture = MapPictureFiles::readPictureFile(path);
    if (!picture.ok()) {
        MsgBox(picture.message, this);
        return;
    }
    showOnCanvas(canvas, picture.image);
}

void OvEditorWindow::loadMapPicture(int id, bool ask) {
    EditorHost* host = editorHost();
    if (!host)
        return;
    if (!ask) {
        const QString& known = host->useFileUI() ? host->rememberedUiFile() : host->rememberedIntrfaceFile();
        if (known.isEmpty() || !QFileInfo::exists(known))
            return;
    }
    if (host->useFileUI())
        ReadPICTFromUIfile(PreviewCanvas, id);
    else
        ReadPictureFromIntrface(PreviewCanvas, id);
}

void OvEditorWindow::PushButtonReloadGraphics_Action() {
    OvReloadWindow dialog(m_document.model().OvResourceID, this);
    // Beside the button, 130 pixels right of its left edge and 70 above it, kept on the screen
    // the window is on.
    QPoint place = PushButtonReloadGraphics->mapToGlobal(QPoint(130, -70));
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        place.setX(std::clamp(place.x(), available.left(),
                              std::max(available.left(), available.right() - dialog.width())));
        place.setY(std::clamp(place.y(), available.top(),
                              std::max(available.top(), available.bottom() - dialog.height())));
    }
    dialog.move(place);
    dialogs().runModal(dialog);
    myLoadID = dialog.OvLoadID;
    myLoadFile = dialog.OvLoadFile;

    // The source chosen in the dialog decides, whatever the setting of the graphics source.
    switch (myLoadFile) {
    case OvReloadWindow::kFromIntrface:
        ReadPictureFromIntrface(PreviewCanvas, myLoadID);
        break;
    case OvReloadWindow::kFromUI:
        ReadPICTFromUIfile(PreviewCanvas, myLoadID);
        break;
    case OvReloadWindow::kFromExternalFile:
        ReadPictureFromGraphicsFile(PreviewCanvas, myLoadID);
        break;
    default:
        break;
    }
}
