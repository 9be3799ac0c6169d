#pragma once

// The virtual page printed documents are laid out on: 4676 × 6814 units scaled to the
// painter's device (round half to even), text in Courier New (Liberation Mono where
// Courier New is not installed) placed by its top-left corner. Documents that take a
// QPainter draw through it, so the printer, a PDF file and a preview get the same page.

#include <QFont>
#include <QString>

#include <functional>

class QPainter;

namespace platform
{

class VirtualPage final
{
public:
    static constexpr int kWidth = 4676;
    static constexpr int kHeight = 6814;

    // newPage starts a further page (a printer's newPage()); without one the painter's
    // device must be a QPagedPaintDevice.
    explicit VirtualPage(QPainter *painter, std::function<bool()> newPage = {});

    QPainter *painter() const { return painter_; }
    int x(double v) const; // device pixels of a virtual horizontal / vertical value
    int y(double v) const;

    void setFont(int pointSize, bool bold = false);
    int textWidth(const QString &s) const;                      // device pixels in the current font
    void text(int px, int py, const QString &s);                // top-left at device pixels
    void textAt(double vx, double vy, const QString &s);        // top-left at virtual units
    void setPenWidth(double virtualWidth);                      // horizontal virtual units
    void rectangle(double x1, double y1, double x2, double y2); // virtual units
    void line(int x1, int y1, int x2, int y2);                  // device pixels
    bool newPage();

private:
    Q_DISABLE_COPY_MOVE(VirtualPage)

    QPainter *painter_;
    std::function<bool()> newPage_;
    double sx_ = 1;
    double sy_ = 1;
};

} // namespace platform
