#pragma once

#include <QImage>

// The table's own pictures: the eye icons of the View column and the highlight bar of selected
// rows. Each is kept at its logical size and at twice that; the one that matches the screen's
// pixel ratio is handed out, so the pictures stay crisp on high-DPI screens. They are images,
// not pixmaps, so that the process-wide instance may outlive the application object.
class TablePictures {
public:
    static const TablePictures& instance();

    // `ratio` is the device pixel ratio of the surface the picture is drawn on.
    const QImage& eyeOpen(qreal ratio) const { return ratio > 1.0 ? m_eyeOpen2x : m_eyeOpen; }
    const QImage& eyeMissing(qreal ratio) const { return ratio > 1.0 ? m_eyeMissing2x : m_eyeMissing; }
    const QImage& selectionBar(qreal ratio) const { return ratio > 1.0 ? m_bar2x : m_bar; }

private:
    TablePictures();

    QImage m_eyeOpen, m_eyeOpen2x, m_eyeMissing, m_eyeMissing2x, m_bar, m_bar2x;
};
