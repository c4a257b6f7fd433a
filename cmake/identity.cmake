# Reads the project's identity (packaging/identity.cmake) and refuses a value
# that would make a broken file, saying which and why. Runs in a configure and
# on its own (cmake -DZORVIK_HOMEPAGE=... -P cmake/identity.cmake), which is
# how the tests try it.
include(${CMAKE_CURRENT_LIST_DIR}/../packaging/identity.cmake)

function(zorvik_identity_check name pattern what)
  if(NOT "${${name}}" MATCHES "${pattern}")
    message(FATAL_ERROR "${name} is '${${name}}', which is not ${what}; "
            "set it in packaging/identity.cmake or with -D${name}=...")
  endif()
endfunction()
zorvik_identity_check(ZORVIK_APP_ID
  "^[A-Za-z][A-Za-z0-9_]*(\\.[A-Za-z][A-Za-z0-9_]*)+$"
  "a reverse-DNS name such as org.example.Zorvik")
# The characters a URL may hold unescaped, so that the value goes into XML,
# groff and the Debian control file as it is.
set(url "^(https?://[A-Za-z0-9._~:/?#@!$&'()*+,;=%-]+)?$")
zorvik_identity_check(ZORVIK_HOMEPAGE "${url}" "empty or an http(s) URL")
zorvik_identity_check(ZORVIK_DOWNLOAD_PAGE "${url}" "empty or an http(s) URL")
zorvik_identity_check(ZORVIK_CONTACT
  "^[A-Za-z0-9._%+-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+$"
  "an e-mail address such as dev@example.org")
string(ASCII 9 10 13 line_breaking)
zorvik_identity_check(ZORVIK_CONTACT_NOTE "^[^${line_breaking}]+$"
  "one line of text")

set(ZORVIK_MAINTAINER "the Zorvik authors <${ZORVIK_CONTACT}>")
