#pragma once

#include "colour.h"

#include <QList>
#include <QString>

// The two sets of moral-education content items, their viewpoints and the
// subject title: constant data, formed once and read for the whole run.

enum class Curriculum { Old, New };

struct Viewpoint
{
    Curriculum curriculum = Curriculum::Old;
    int place = 0;          // 1 to 4 within its curriculum
    QChar label;            // "1".."4" or "A".."D"
    QString titleCaption;   // caption of the title button
    QString titleText;      // what the title button copies: "１　主として…"
    Colour paneColour;      // correspondence pane and Code/Keyword buttons
    Colour strongColour;    // CodeKeyword buttons
    int firstPosition = 0;  // catalogue position of its first item
    int itemCount = 0;
};

struct ContentItem
{
    Curriculum curriculum = Curriculum::Old;
    int position = 0;       // 1-based place in its curriculum's catalogue order
    int viewpointPlace = 0; // 1 to 4
    int number = 0;         // the number between the parentheses
    QString code;           // "1-(1)", "C-(10)"
    QString codeCaption;    // caption of the Code button (the code, save one)
    QString keywordCaption; // caption of the Keyword button
    QString heading;        // what the Keyword button copies
    QString codeKeyword;    // code + " " + heading
    QString explanation;    // the full sentence of the item
    QString correspondence; // "旧3-(2) ＝ 新D-(20),(21)"
    QList<int> partners;    // positions of the corresponding items in the other set
};

namespace Catalogue {

QString prefix(Curriculum curriculum); // "旧" or "新"
Curriculum other(Curriculum curriculum);

const QList<ContentItem> &items(Curriculum curriculum);
const QList<Viewpoint> &viewpoints(Curriculum curriculum);

// position and place are 1-based, as the button numbering counts them.
const ContentItem &item(Curriculum curriculum, int position);
const Viewpoint &viewpoint(Curriculum curriculum, int place);
const Viewpoint &viewpointOf(const ContentItem &item);

QString subjectTitle(); // "特別の教科　道徳"

// The window's own texts.
QString windowTitle();                       // "Sorelin"
QString tabCaption(Curriculum curriculum);   // " 旧 内容項目", " 教科化後"
QString creditLine();                        // "Tamberlo 2016"
QString paneName(Curriculum curriculum);     // what a screen reader calls a pane
QString failureMessage();                    // said by a button whose copy failed
QString keepOnTopCaption();                  // the web edition's control that keeps it above other windows

} // namespace Catalogue
