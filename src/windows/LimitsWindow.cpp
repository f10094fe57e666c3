#include "windows/LimitsWindow.h"

#include "platform/WindowList.h"
#include "windows/ContentArea.h"
#include "windows/EditorHost.h"

#include <QMenuBar>
#include <QPlainTextEdit>

namespace {

const char* const kLimits[] = {
    "The game uses the file OvData0 for the general overview map (PICT resource ID 1013), shown in the "
    "Command & Briefing screen. OvData0 should therefore contain ALL sectors, ops and battles.",
    "Every other OvData# file should contain only its own sector: OvData1 the first sector, OvData2 the "
    "second, "
    "and so on.",
    "The game has 3 sectors, hence only four OvData# files (1 overview + 3 sectors).",
    "More sectors in the game's operation and campaign definitions have never been tried.",
    "More sectors in the 'Batnames' file are possible.",
    "It is not recommended to have more than 5 battles per operation (6 battles per operation will cause a "
    "program crash of the PC version of the game).",
    "The game has 4 operations in the first and in the second sector and 3 in the third; more operations are "
    "untried and will upset the screens' layout.",
    "The game handles at most 50 maps in total at run time.",
    "The game takes the map for the Command/Briefing screen from the OvData# files, so each file's "
    "PICT-resource-ID entry must be right. The game's values: OvData0 ID 1013, OvData1 ID 1014, OvData2 ID "
    "1015, "
    "OvData3 ID 1016. PICT 1017 is the 'About screen'; in the PC file 'Intrface.brm' the background-pattern "
    "graphic is the last picture, at position 18; ID 1019 is the best choice for an additional file "
    "'OvData4'.",
    "The pictures of the Mac version of the game are in the file 'UI', which has only a resource fork and "
    "cannot "
    "be viewed on a PC.",
    "Exporting OvData0 as the game's base-file 'Batnames' gives only a suggestion: for each entry the ID of "
    "the "
    "map used as preview image in the Command screen (taken from the corresponding OVMap### file) must be "
    "adjusted by hand. This map ID must not be identical with the battle number.",
    "This program does not edit the graphics held in 'UI' and 'Intrface.brm'; it uses them only for "
    "illustration and works without them.",
};

} // namespace

QString LimitsWindow::limitsText() {
    QStringList paragraphs;
    for (const char* paragraph : kLimits)
        paragraphs << QString::fromUtf8(paragraph);
    return paragraphs.join(QStringLiteral("\n\n"));
}

LimitsWindow::LimitsWindow(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("LimitsWindow"));
    Layout();
    CreateControls();
    WindowList::instance().track(this);
}

void LimitsWindow::Layout() {
    setWindowTitle(QStringLiteral("Known Limits"));
    // On macOS the application's menu bar stays in use; elsewhere menus live in the window, and
    // the commands (Close, About, ...) must work from here too.
    if (EditorHost* host = editorHost())
        host->installMenuBar(this);
    m_content = new ContentArea(this, [this] { Event_Resized(); });
    m_content->setMinimumSize(64, 64);
    m_content->setMaximumSize(32000, 32000);
    setCentralWidget(m_content);
    resize(kInitialWidth, kInitialHeight + menuBar()->sizeHint().height());
}

void LimitsWindow::CreateControls() {
    StaticText1 = new QPlainTextEdit(limitsText(), m_content);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    QFont font(QStringLiteral("Times"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(12);
    StaticText1->setFont(font);
    StaticText1->setReadOnly(true);
    StaticText1->setFrameShape(QFrame::NoFrame);
    StaticText1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // It reads as static text on the window's background, and still scrolls when the window is
    // smaller than the text (fonts differ from one system to the next).
    QPalette palette = StaticText1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    palette.setColor(QPalette::Text, Qt::black);
    StaticText1->setPalette(palette);
    StaticText1->viewport()->setAutoFillBackground(false);
    StaticText1->setGeometry(7, 9, 572, 512);
}

void LimitsWindow::Event_Resized() {
    if (!StaticText1)
        return;
    StaticText1->resize(m_content->width() - 2 * StaticText1->x(),
                        m_content->height() - 2 * StaticText1->y());
}
