#pragma once

// The printed quality certificate: the head lines, a frame with the column heading, the
// table rows and two column rules, then the four closing lines and the signature, laid
// out on the virtual page by line position. A table too long for one sheet continues on
// further pages, each with its own frame, heading and column rules; the closing lines
// and the signature follow the last one.

#include <functional>

class QPainter;

namespace archive
{

struct CertificateText;

class CertificatePage final
{
public:
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
