#pragma once

// The printed quality certificate: the head lines, a frame with the column heading, the
// table rows in three cells parted by column rules, then the four closing lines and the
// signature, laid out on the virtual page by line position. The certificate keeps a
// margin on both sides of the sheet: every text is wrapped at word boundaries to stay
// inside it, and inside its cell in the table; a head line that takes more lines moves
// everything under it down. A table too long for one sheet continues on further pages,
// each with its own frame, heading and column rules; the closing lines and the signature
// follow the last one.

#include <functional>

class QPainter;

namespace archive
{

struct CertificateText;

class CertificatePage final
{
public:
    // The margins on the virtual page (platform::VirtualPage): the frame's sides.
    static constexpr double kLeft = 150;
    static constexpr double kRight = 4526;

    // newPage starts a further page (a printer's newPage()); see platform::VirtualPage.
    explicit CertificatePage(QPainter *painter, std::function<bool()> newPage = {});

    // Draws the certificate's lines as they stand (the user's edits included); returns
    // the number of pages drawn.
    int draw(const CertificateText &text);

private:
    QPainter *painter_;
    std::function<bool()> newPage_;
};

} // namespace archive
