#include "mainwindow.h"

#include "accessibility.h"
#include "captionbutton.h"
#include "clicklabel.h"
#include "failurenote.h"
#include "fonts.h"
#include "layout.h"
#include "picture.h"
#include "tabstrip.h"
#include "twips.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>

namespace {

// A thin horizontal line in the window's text colour, one pixel at any scale.
QFrame *makeLine(const QString &name, Curriculum set, double scale)
{
    const Layout::Line place = Layout::line(set);
    auto *line = new QFrame;
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setGeometry(Twips::toPixels(place.left, scale), Twips::toPixels(place.y, scale),
                      Twips::toPixels(place.right, scale) - Twips::toPixels(place.left, scale) + 1, 1);
    return line;
}

ClickLabel *makeCredit(const QString &name, double scale)
{
    auto *label = new ClickLabel(Catalogue::creditLine());
    label->setObjectName(name);
    label->setFont(Fonts::japanese(Twips::scaled(Layout::creditFontPixels, scale)));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(Twips::rect(Layout::credit, scale));
    return label;
}

QLineEdit *makePane(const QString &name, Curriculum set, double scale)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setFont(Fonts::editable(Twips::scaled(Layout::paneFontPixels, scale)));
    edit->setGeometry(Twips::rect(Layout::pane(set), scale));
    return edit;
}

// A picture at its own size times the scale, smoothed where it is smaller.
QPixmap picture(Picture::Name name, double scale)
{
    const QPixmap designed = Picture::pixmap(name);
    return scale == 1 ? designed
                      : designed.scaled(designed.size() * scale, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

MainWindow::MainWindow(Clipboard &clipboard, const ScaleFor &scaleFor, QWidget *parent)
    : QWidget(parent), m_clipboard(clipboard)
{
    Accessibility::install();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Catalogue::windowTitle());
    // Kept above ordinary windows, beside the word processor it feeds. Set
    // before the geometry: changing window flags re-places the window by its
    // frame, which would push the client area off its place.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    // The client area's place and size; nothing is laid out, so resizing the
    // window shows more or less of it and moves nothing.
    setGeometry(Twips::rect(Layout::window));
    if (scaleFor)
        m_scale = scaleFor(this);
    build();
}

void MainWindow::setScale(double scale)
{
    m_scale = scale;
    delete m_strip;
    m_buttons.clear();
    build();
    m_strip->show();
}

// Everything inside the window, and the window's size, at its scale.
void MainWindow::build()
{
    resize(Twips::rect(QRect(QPoint(), Layout::window.size()), m_scale).size());
    setFont(Fonts::window(QApplication::font(), m_scale));
    m_strip = new TabStrip(Twips::toPixels(Layout::tabRowHeight, m_scale), this);
    m_strip->setObjectName(QStringLiteral("SSTab1"));
    m_strip->setGeometry(Twips::rect(Layout::strip, m_scale));
    m_strip->setTabFont(Fonts::japanese(Twips::scaled(Layout::tabFontPixels, m_scale)));
    m_strip->addTab(Catalogue::tabCaption(Curriculum::Old), picture(Picture::Tab0, m_scale));
    m_strip->addTab(Catalogue::tabCaption(Curriculum::New), picture(Picture::Tab1, m_scale));

    buildPanes();

    // The window opens on the new set. The old set's hundred buttons are made
    // the first time their tab shows, which keeps the start lighter.
    addButtons(Curriculum::New);
    m_strip->setCurrentTab(1);
    connect(m_strip, &TabStrip::currentChanged, this, [this](int tab) {
        if (tab == 0 && m_buttons.size() < Binding::buttonCount)
            addButtons(Curriculum::Old);
    });
    m_strip->setFocus();

    // Every switch of tab blanks both panes, the old set's first.
    connect(m_strip, &TabStrip::clicked, this, [this] {
        if (PaneReset(m_pane1).run() == CopyStep::Done)
            PaneReset(m_pane2).run();
    });
}

void MainWindow::buildPanes()
{
    m_text1 = makePane(QStringLiteral("Text1"), Curriculum::Old, m_scale);
    m_text2 = makePane(QStringLiteral("Text2"), Curriculum::New, m_scale);
    m_text1->setAccessibleName(Catalogue::paneName(Curriculum::Old));
    m_text2->setAccessibleName(Catalogue::paneName(Curriculum::New));
    m_pane1 = LinePane(m_text1);
    m_pane2 = LinePane(m_text2);
    m_pane1.setBackColor(Colour(0xFFFFFF));
    m_pane2.setBackColor(Colour::windowBackground());

    ClickLabel *label1 = makeCredit(QStringLiteral("Label1"), m_scale);
    ClickLabel *label2 = makeCredit(QStringLiteral("Label2"), m_scale);
    connect(label1, &ClickLabel::clicked, this, [this] { PaneReset(m_pane1).run(); });
    connect(label2, &ClickLabel::clicked, this, [this] { PaneReset(m_pane2).run(); });

    auto *image = new QLabel;
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(picture(Picture::Image1, m_scale));
    image->setGeometry(Twips::rect(Layout::image1, m_scale));

    m_strip->place(label1, 0);
    m_strip->place(makeLine(QStringLiteral("Line2"), Curriculum::Old, m_scale), 0);
    m_strip->place(m_text1, 0);
    m_strip->place(label2, 1);
    m_strip->place(makeLine(QStringLiteral("Line1"), Curriculum::New, m_scale), 1);
    m_strip->place(image, 1);
    m_strip->place(m_text2, 1);
}

// Makes the buttons of one set; made while their tab is shown, they show at once.
void MainWindow::addButtons(Curriculum set)
{
    const QList<ButtonGrid::Button> added = ButtonGrid::create(m_strip, font(), set, m_scale);
    for (const ButtonGrid::Button &button : added)
        connect(button.widget, &QPushButton::clicked, this, [this, button] { press(button); });
    // Kept in number order, the old set's first.
    m_buttons = set == Curriculum::Old ? added + m_buttons : m_buttons + added;
    buildTabOrder();
}

// Keyboard order: the tab strip, the old set's buttons, the new set's, the
// two panes, and the subject title button last. The strip is in the order
// through its focus proxy, the row of tabs: the order leaves out the strip
// itself, which takes no focus of its own.
void MainWindow::buildTabOrder()
{
    QList<QWidget *> order{ m_strip->focusProxy() };
    for (const ButtonGrid::Button &button : std::as_const(m_buttons)) {
        if (button.binding.kind != ButtonKind::SubjectTitle)
            order << button.widget;
    }
    order << m_text1 << m_text2 << m_buttons.last().widget;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::press(const ButtonGrid::Button &button)
{
    if (CopyAction(button.binding).run({ &m_pane1, &m_pane2 }, m_clipboard) != CopyStep::Done)
        reportFailure(button.widget);
}

// A copy that did not reach the clipboard must not pass for one: the teacher
// would paste stale text. A beep and a short note by the button say so,
// without a dialog to dismiss. The note is made the first time it is needed.
void MainWindow::reportFailure(QWidget *where)
{
    QApplication::beep();
    if (!m_note)
        m_note = new FailureNote(this);
    m_note->showUnder(where, Catalogue::failureMessage());
}
