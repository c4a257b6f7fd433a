# Who publishes Zorvik, and where: the one place these are set. Every file
# that names them (the window's contact note, the menu entry, the AppStream
# metadata, the manual pages, the Debian package and the Windows README.txt)
# is made from these values. A publisher edits them here and commits, so that
# scripts/release builds the same files from that commit; -D on the cmake
# command line overrides them for one build folder.

# The reverse-DNS name the program announces to the desktop; the menu entry,
# icon and AppStream files are named after it.
set(ZORVIK_APP_ID "org.example.Zorvik" CACHE STRING
    "Application id, reverse-DNS (org.example.Zorvik)")
# The project's home page, given in the AppStream metadata, the manual pages
# and the Debian package; the software centres' screenshot is expected at
# <home page>/screenshots/zorvik-<version>.png. Empty: none is named.
set(ZORVIK_HOMEPAGE "" CACHE STRING
    "Home page URL (https://...), or empty for none")
# The page that offers the release files and SHA256SUMS. Empty: the texts
# speak of the page the user downloaded Zorvik from.
set(ZORVIK_DOWNLOAD_PAGE "" CACHE STRING
    "Download page URL (https://...), or empty for none")
# The maintainers' address: the Debian package's Maintainer and changelog,
# and the manual pages' authors.
set(ZORVIK_CONTACT "dev@example.org" CACHE STRING
    "Contact e-mail address of the Zorvik authors")
# The note shown in the window's bottom-right corner after the tenth
# computation: one line of about twenty characters that fits its 137 pixels.
set(ZORVIK_CONTACT_NOTE "作者 zv@example.org" CACHE STRING
    "The window's contact note, one line")
