# cmake -DSITE=<folder> -DIN=<sw.js.in> -DFILES=<a;b;c> -P write_sw.cmake
# Writes <folder>/sw.js: the service worker that caches FILES, its cache named after their hash.
set(_all "")
foreach(_file IN LISTS FILES)
    file(SHA256 "${SITE}/${_file}" _sum)
    string(APPEND _all "${_file} ${_sum}\n")
endforeach()
string(SHA256 _hash "${_all}")
string(SUBSTRING "${_hash}" 0 16 FERNWICK_SITE_HASH)
list(TRANSFORM FILES PREPEND "'")
list(TRANSFORM FILES APPEND "'")
list(PREPEND FILES "'./'")
list(JOIN FILES ", " FERNWICK_SITE_FILES)
configure_file("${IN}" "${SITE}/sw.js" @ONLY)
