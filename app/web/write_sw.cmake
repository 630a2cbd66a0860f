# cmake -DSITE=<folder> -DIN=<sw.js.in> -DFILES=<a;b;c> -DKEEP=<d;e> -P write_sw.cmake
# Writes <folder>/sw.js: the service worker that keeps KEEP (and the page, ./) when it installs,
# its cache named after the hash of FILES, all the site's files.
set(_all "")
foreach(_file IN LISTS FILES)
    file(SHA256 "${SITE}/${_file}" _sum)
    string(APPEND _all "${_file} ${_sum}\n")
endforeach()
string(SHA256 _hash "${_all}")
string(SUBSTRING "${_hash}" 0 16 FERNWICK_SITE_HASH)
list(TRANSFORM KEEP REPLACE "^(.+)$" "'\\1'")
list(PREPEND KEEP "'./'")
list(JOIN KEEP ", " FERNWICK_SITE_FILES)
configure_file("${IN}" "${SITE}/sw.js" @ONLY)
