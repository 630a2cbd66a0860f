# The executable's Windows resources, written from the identity values
# (assets/identity/identity.cmake) and the icon file: the version record, the icon group with its
# images, and the application manifest (from assets/identity/fernwick.manifest.in). Included from
# cmake/win32.cmake; sets FERNWICK_WIN32_RC, a resource script that holds every resource as raw
# data, so windres copies the bytes as they are. Its VERSIONINFO and ICON statements would not
# give these bytes: windres counts a version string's value length in characters (ours counts
# bytes, the terminating NUL included), and numbers the icon images 1, 2, ... under the current
# language (ours are 30001, 30002, ... and language neutral, as the group).

# Bytes are kept as hex text, two digits a byte.

# <out> = <value> as <count> little-endian bytes.
function(fernwick_le out value count)
    math(EXPR hex "(1 << (8 * ${count} + 4)) | (${value})" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX MATCHALL ".." bytes "${hex}")
    list(REMOVE_AT bytes 0 1)  # "0x" and the marker, "10"
    list(REVERSE bytes)
    string(JOIN "" hex ${bytes})
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

# <out> = <hex> followed by zero bytes up to a multiple of four bytes.
function(fernwick_pad4 out hex)
    string(LENGTH "${hex}" digits)
    math(EXPR missing "(8 - ${digits} % 8) % 8")
    string(REPEAT "0" ${missing} zeros)
    set(${out} "${hex}${zeros}" PARENT_SCOPE)
endfunction()

# <out> = <hex> followed by a newline if it is an odd number of bytes long.
function(fernwick_pad_even out hex)
    string(LENGTH "${hex}" digits)
    math(EXPR odd "${digits} % 4")
    if(odd)
        string(APPEND hex "0a")
    endif()
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

# <out> = <text> in UTF-16LE with a terminating NUL.
function(fernwick_utf16z out text)
    if(NOT text MATCHES "^[ -~]*$")
        message(FATAL_ERROR "\"${text}\" is not plain ASCII")
    endif()
    string(HEX "${text}" hex)
    string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
    set(${out} "${hex}0000" PARENT_SCOPE)
endfunction()

# <out> = one node of the version record: its length, the value's length, its type (1: text),
# the key, the value and the children (ARGN), each starting on a four-byte boundary. The length
# leaves out any padding after the last byte.
function(fernwick_version_node out key type value value_length)
    fernwick_utf16z(key "${key}")
    fernwick_le(value_length ${value_length} 2)
    fernwick_le(type ${type} 2)
    fernwick_pad4(node "0000${value_length}${type}${key}")
    string(APPEND node "${value}")
    foreach(child IN LISTS ARGN)
        fernwick_pad4(node "${node}")
        string(APPEND node "${child}")
    endforeach()
    string(LENGTH "${node}" digits)
    math(EXPR length "${digits} / 2")
    fernwick_le(length ${length} 2)
    string(SUBSTRING "${node}" 4 -1 node)
    set(${out} "${length}${node}" PARENT_SCOPE)
endfunction()

# <out> = <count> bytes at byte <offset> of the hex in variable <from>; with NUMBER, as a number.
function(fernwick_bytes out from offset count)
    math(EXPR at "2 * (${offset})")
    math(EXPR digits "2 * (${count})")
    string(SUBSTRING "${${from}}" ${at} ${digits} bytes)
    if(ARGN STREQUAL "NUMBER")
        string(REGEX MATCHALL ".." bytes "${bytes}")
        list(REVERSE bytes)
        string(JOIN "" bytes ${bytes})
        math(EXPR bytes "0x${bytes}")
    endif()
    set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

# Appends resource <name> of <type>, given as hex, to <script> as 16-bit words.
macro(fernwick_rc_data name type hex)
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1, " words "${hex}")
    string(REGEX REPLACE "((0x...., ){8})" "\\1\n    " words "${words}")
    string(REGEX REPLACE "[, \n]+$" "" words "${words}")
    string(APPEND script "\n${name} ${type}\nBEGIN\n    ${words}\nEND\n")
endmacro()

# Writes the script <rc>; a function, so that none of its variables outlives it.
function(fernwick_write_win32_resources rc)
    # The version record: the fixed part (signature, structure version 1.0, file and product
    # version, flags mask and flags 0, 32-bit Windows, an application, no subtype, no date),
    # then the translation, then the strings, in US English (0x0409) and Unicode (code page
    # 1200, 0x04B0).
    math(EXPR version_ms "(${FERNWICK_VERSION_MAJOR} << 16) | ${FERNWICK_VERSION_MINOR}")
    math(EXPR version_ls "(${FERNWICK_VERSION_PATCH} << 16) | ${FERNWICK_VERSION_BUILD}")
    set(fixed "")
    foreach(v 0xFEEF04BD 0x00010000 ${version_ms} ${version_ls} ${version_ms} ${version_ls}
              0 0 4 1 0 0 0)
        fernwick_le(b ${v} 4)
        string(APPEND fixed "${b}")
    endforeach()

    set(strings "")
    foreach(key_variable CompanyName:FERNWICK_COMPANY_NAME ProductName:FERNWICK_PRODUCT_NAME
            FileVersion:FERNWICK_VERSION_STRING ProductVersion:FERNWICK_VERSION_STRING
            InternalName:FERNWICK_INTERNAL_NAME OriginalFilename:FERNWICK_WINDOWS_FILENAME)
        string(REPLACE ":" ";" key_variable "${key_variable}")
        list(GET key_variable 0 key)
        list(GET key_variable 1 variable)
        fernwick_utf16z(text "${${variable}}")
        string(LENGTH "${text}" digits)
        math(EXPR bytes "${digits} / 2")
        fernwick_version_node(node "${key}" 1 "${text}" ${bytes})
        list(APPEND strings "${node}")
    endforeach()

    fernwick_version_node(table "040904B0" 1 "" 0 ${strings})
    fernwick_version_node(string_info "StringFileInfo" 1 "" 0 "${table}")
    fernwick_le(language 0x0409 2)
    fernwick_le(code_page 0x04B0 2)
    fernwick_version_node(translation "Translation" 0 "${language}${code_page}" 4)
    fernwick_version_node(var_info "VarFileInfo" 1 "" 0 "${translation}")
    fernwick_version_node(version "VS_VERSION_INFO" 0 "${fixed}" 52 "${var_info}" "${string_info}")

    # The icon images become images 30001, 30002, ... (type 3), and the icon group (type 14) lists
    # them: each entry is the icon file's directory entry up to the image's byte count, then the
    # image's number. All language neutral.
    set(script "// Generated by cmake/win32_resources.cmake; do not edit.\n\nLANGUAGE 0, 0\n")
    file(READ "${FERNWICK_ICON_FILE}" ico HEX)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${FERNWICK_ICON_FILE}")
    fernwick_bytes(header ico 0 4)
    fernwick_bytes(count ico 4 2 NUMBER)
    if(NOT header STREQUAL "00000100" OR count EQUAL 0)
        message(FATAL_ERROR "${FERNWICK_ICON_FILE} is not an icon file")
    endif()
    fernwick_bytes(group ico 0 6)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
        math(EXPR at "6 + 16 * ${i}")
        math(EXPR id "30001 + ${i}")
        fernwick_bytes(entry ico ${at} 12)
        fernwick_bytes(size ico "${at} + 8" 4 NUMBER)
        fernwick_bytes(offset ico "${at} + 12" 4 NUMBER)
        fernwick_bytes(image ico ${offset} ${size})
        string(LENGTH "${image}" digits)
        math(EXPR digits "${digits} / 2")
        if(NOT digits EQUAL size)
            message(FATAL_ERROR "${FERNWICK_ICON_FILE}: image ${i} ends past the end of the file")
        endif()
        fernwick_rc_data(${id} 3 "${image}")
        fernwick_le(id_bytes ${id} 2)
        string(APPEND group "${entry}${id_bytes}")
    endforeach()
    fernwick_rc_data(1 14 "${group}")

    # The version record, in US English (LANGUAGE 9, 1).
    string(APPEND script "\nLANGUAGE 9, 1\n")
    fernwick_rc_data(1 16 "${version}")

    # The application manifest (type 24), resource 1 and US English as Windows' own tools embed
    # it, in UTF-8. The resource is written as whole 16-bit words, so an odd length gets a newline.
    set(template "${FERNWICK_IDENTITY_DIR}/fernwick.manifest.in")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${template}")
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(FERNWICK_MANIFEST_ARCHITECTURE amd64)
    else()
        set(FERNWICK_MANIFEST_ARCHITECTURE x86)
    endif()
    file(READ "${template}" manifest)
    string(CONFIGURE "${manifest}" manifest @ONLY)
    string(HEX "${manifest}" manifest)
    fernwick_pad_even(manifest "${manifest}")
    fernwick_rc_data(1 24 "${manifest}")

    file(CONFIGURE OUTPUT "${rc}" CONTENT "${script}" @ONLY)  # touched only when it changes
endfunction()

set(FERNWICK_WIN32_RC "${FERNWICK_GENERATED_DIR}/fernwick.rc")
fernwick_write_win32_resources("${FERNWICK_WIN32_RC}")
