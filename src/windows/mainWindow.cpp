#include "windows/mainWindow.h"

#include "platform/WindowList.h"
#include "windows/ContentArea.h"
#include "windows/EditorHost.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace {

QFont sizedFont(int pixels, const QString& family = {}, bool bold = false) {
    QFont font;
    if (!family.isEmpty()) {
        font.setFamily(family);
        font.setStyleHint(QFont::Serif);
    }
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

const char* const kHelpParagraphs[] = {
    "OvData0 to OvData3 (the game's files) can be loaded and saved to view their contents.",
    "In the data table on the left of the editing window the names and coordinates can be edited,",
    "and the battle flags (LZ, Road, Bridge) can be set.",
    "Additional files OvData4 to OvData9 can be created from scratch.",
    "The PICT-resource-ID entry of an OvData# file can be adjusted.",
    "The sector, ops and battle ID numbering can be changed.",
    "Battles can be added to ops and ops to sectors.",
    "Sectors can be added to the OvData0 file.",
    "All kinds of entries can be deleted, \"except for the first sector in each file\". Hint: \"there is a "
    "bug in "
    "BRM: if an operation has only one battle defined, then the entire sector will be highlighted on the "
    "strategic map during game play.\"",
    "Clicking or selecting an entry draws its rectangle in red, from the entry's coordinates.",
    "\"When an entry is selected, you can mark the graphical rectangle on the strategic map by "
    "holding/dragging "
    "the mouse there\", and the entry's coordinates change at the same time.",
    "The first column 'View' makes one or more entries visible on the map; then the rectangles of sectors "
    "and "
    "ops are drawn in yellow, as in the game.",
    "\"Click into the header of column 'View' to toggle the visibility of all entries on the strategic map "
    "on the "
    "right side of the editing window.\"",
    "The strategic maps can be viewed from the game's files UI and Intrface.brm, or external graphics (PICT, "
    "BMP, "
    "TGA, JPEG and others) imported.",
    "\"Import / export of graphics can be done also by cut/paste via the clipboard or by mouse dragging.\"",
    "\"Mouse dragging will only work if you have unselected all entries (press button 'Unselect').\"",
    "Mouse dragging and cut/paste of the picture act only on the game's graphic; the drawn rectangles are "
    "not "
    "copied by 'Edit > Copy picture'.",
    "When one or more rectangles are visible (column 'View'), 'Edit > Copy picture with visible rectangles' "
    "transfers the picture as the editor shows it, not only the game's graphic.",
    "The 'Redraw' button wipes out all rectangles drawn on the map.",
    "The battle, ops and sector definitions of OvData0 can be exported as a Batnames file of the game.",
    "\"The columns labeled 'Number' and 'NoOfSubs' are not editable. Renumbering of entries will be done by "
    "the "
    "program itself.\"",
};

} // namespace

QString mainWindow::usageHelp() {
    QStringList lines;
    for (const char* paragraph : kHelpParagraphs)
        lines << QStringLiteral("- ") + QString::fromUtf8(paragraph);
    return lines.join(QLatin1Char('\n'));
}

mainWindow::mainWindow(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("mainWindow"));
    Layout();
    CreateControls();
    Event_Open();
    WindowList::instance().track(this);
}

void mainWindow::Layout() {
    setWindowTitle(QStringLiteral("About Mapquill"));
    if (EditorHost* host = editorHost())
        host->installMenuBar(this);
    m_content = new ContentArea(this, [this] { Event_Resized(); });
    m_content->setMinimumSize(64, 440);
    m_content->setMaximumSize(32000, 32000);
    setCentralWidget(m_content);
    resize(kInitialWidth, kInitialHeight + menuBar()->sizeHint().height());
}

void mainWindow::CreateControls() {
    QWidget* c = m_content;
    auto label = [c](const char* name, const QString& text, const QFont& font, Qt::Alignment alignment) {
        auto* l = new QLabel(text, c);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(font);
        l->setAlignment(alignment);
        return l;
    };
    StaticText1 = label("StaticText1", QStringLiteral("Mapquill"),
                        sizedFont(18, QStringLiteral("Times"), true), Qt::AlignHCenter | Qt::AlignVCenter);
    StaticText1->setGeometry(4, 8, 470, 20);
    StaticText2 = label("StaticText2", QStringLiteral("a BRM - IRVL 'OvData#'-file editor"), sizedFont(12),
                        Qt::AlignHCenter | Qt::AlignVCenter);
    StaticText2->setGeometry(4, 30, 470, 20);

    StaticTextCopyright = label("StaticTextCopyright",
                                QStringLiteral("Mapquill, the overlay-data editor\n"
                                               "\u00a9 2026 the Mapquill developers\n"
                                               "written in C++20 with Qt 6\n"
                                               "free software: share and improve it"),
                                sizedFont(10), Qt::AlignLeft | Qt::AlignTop);
    StaticTextCopyright->setGeometry(46, 385, 319, 56);
    QPalette credits = StaticTextCopyright->palette();
    credits.setColor(QPalette::WindowText, QColor(0x18, 0x60, 0x5A));
    StaticTextCopyright->setPalette(credits);

    StaticTextVersion =
        label("StaticTextVersion", QStringLiteral("v1.01"), sizedFont(10), Qt::AlignRight | Qt::AlignVCenter);
    StaticTextVersion->setGeometry(336, 400, 100, 20);

    StaticTextWarning =
        label("StaticTextWarning",
              QStringLiteral("Warning: work on copies of the game's files and keep the originals "
                             "safe. A wrong count, ID or picture ID in an OvData file can make the "
                             "game misbehave or crash."),
              sizedFont(10), Qt::AlignLeft | Qt::AlignTop);
    StaticTextWarning->setWordWrap(true);
    StaticTextWarning->setGeometry(4, 340, 470, 40);

    CanvasIcon = new QLabel(c);
    CanvasIcon->setObjectName(QStringLiteral("CanvasIcon"));
    CanvasIcon->setGeometry(301, 370, 64, 64);
    CanvasIcon->setFocusPolicy(Qt::NoFocus);
    CanvasIcon->setPixmap(QIcon(QStringLiteral(":/icons/mapquill.png")).pixmap(64, 64));

    EditFieldMainHelp = new QPlainTextEdit(c);
    EditFieldMainHelp->setObjectName(QStringLiteral("EditFieldMainHelp"));
    EditFieldMainHelp->setGeometry(11, 56, 458, 272);
    EditFieldMainHelp->setFont(sizedFont(10));
    EditFieldMainHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EditFieldMainHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EditFieldMainHelp->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette field = EditFieldMainHelp->palette();
    field.setColor(QPalette::Base, Qt::white);
    field.setColor(QPalette::Text, Qt::black);
    EditFieldMainHelp->setPalette(field);
    EditFieldMainHelp->setPlainText(usageHelp());
}

void mainWindow::Event_Open() {
    // The application's gVersion is this same short version string.
    StaticTextVersion->setText(QCoreApplication::applicationVersion());
}

void mainWindow::Event_Resized() {
    if (!EditFieldMainHelp)
        return;
    const int w = m_content->width();
    const int h = m_content->height();
    StaticTextWarning->setGeometry(StaticTextWarning->x(), h - 105, w - 2 * StaticTextWarning->x(),
                                   StaticTextWarning->height());
    StaticTextCopyright->move(StaticTextCopyright->x(), h - 60);
    StaticTextVersion->move(StaticTextVersion->x(), h - 45);
    CanvasIcon->move(CanvasIcon->x(), h - 75);
    StaticText1->resize(w - 2 * StaticText1->x(), StaticText1->height());
    StaticText2->resize(w - 2 * StaticText2->x(), StaticText2->height());
    EditFieldMainHelp->resize(w - 2 * EditFieldMainHelp->x(),
                              StaticTextWarning->y() - EditFieldMainHelp->y() - 10);
}
