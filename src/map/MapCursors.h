#pragma once

#include <QCursor>

// The map's three cursors, each in a colour and a black-and-white drawing. The numbers are the
// application's cursor resources: 128, 129, 130 in colour; the black-and-white drawing of cursor
// n is resource n + 40 (168, 169, 170).
namespace MapCursors {

enum Cursor {
    PictureDrag = 128, // carried by a drag of the map picture
    MarkDrag = 129,    // every drag step of a mark
    MapHover = 130,    // the mouse enters the map; a mark begins
};

// The resource that shows `cursor` in the wanted variant.
int resourceNumber(Cursor cursor, bool colour);

// The cursor drawn by resource `number` with its hot spot; the arrow for an unknown number.
QCursor fromResource(int number);

// The cursor setting (colour or black and white), set by the application whenever it changes.
void setColour(bool colour);
bool colour();

// `cursor` in the variant the cursor setting asks for now: the setting is read at every call,
// so switching it takes effect at the next cursor change.
QCursor current(Cursor cursor);

} // namespace MapCursors
