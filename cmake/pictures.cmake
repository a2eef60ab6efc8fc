# Turns text-art pictures into an .rc file of resources: by default one RT_BITMAP (a 4-bit packed
# DIB) per picture; with -DICON=<name>, one icon of that name whose images are the file's pictures.
#
#   cmake -DPICTURES=src/toolkit/win32/Pictures.txt -DOUTPUT=<build>/Pictures.rc -P cmake/pictures.cmake
#   cmake -DPICTURES=src/app/Icon.txt -DICON=FOYER -DOUTPUT=<build>/Icon.rc -P cmake/pictures.cmake
#
# The data is written as 16-bit words under the numeric types (2 for a bitmap, 3 for an icon's
# image, 14 for the icon's directory) because that is the raw-data form windres accepts; its
# BITMAP and ICON statements only take a file name. The output is rewritten only when its text
# changes, so an unchanged picture file does not make the resources compile again.
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED PICTURES OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "usage: cmake -DPICTURES=<pictures.txt> -DOUTPUT=<out.rc> -P pictures.cmake")
endif()
if(NOT EXISTS "${PICTURES}")
  message(FATAL_ERROR "${PICTURES}: no such file")
endif()

# The 16 colours of a 4-bit bitmap, in index order, as RRGGBB. Index d (fuchsia) is the key the
# drawing code treats as transparent, which is why '.' is stored as d.
set(_palette
  000000 800000 008000 808000 000080 800080 008080 c0c0c0
  808080 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff)

# Appends VALUE to the hex byte string in OUT_VAR as BYTES little-endian bytes.
function(_pictures_append_le out_var value bytes)
  math(EXPR hex "${value}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${hex}" 2 -1 digits)
  string(TOLOWER "${digits}" digits)
  math(EXPR want "${bytes} * 2")
  string(LENGTH "${digits}" have)
  while(have LESS want)
    string(PREPEND digits "0")
    math(EXPR have "${have} + 1")
  endwhile()
  set(result "${${out_var}}")
  math(EXPR last "${bytes} - 1")
  foreach(i RANGE ${last} 0 -1)
    math(EXPR at "${i} * 2")
    string(SUBSTRING "${digits}" ${at} 2 byte)
    string(APPEND result "${byte}")
  endforeach()
  set(${out_var} "${result}" PARENT_SCOPE)
endfunction()

# Hex bytes of the 40-byte header and the colour table, the same for every picture but its size.
function(_pictures_header out_var width height image_size)
  set(h "")
  _pictures_append_le(h 40 4)               # biSize
  _pictures_append_le(h ${width} 4)         # biWidth
  _pictures_append_le(h ${height} 4)        # biHeight: positive, so the rows run bottom-up
  _pictures_append_le(h 1 2)                # biPlanes
  _pictures_append_le(h 4 2)                # biBitCount
  _pictures_append_le(h 0 4)                # biCompression: BI_RGB
  _pictures_append_le(h ${image_size} 4)    # biSizeImage
  _pictures_append_le(h 0 4)                # biXPelsPerMeter
  _pictures_append_le(h 0 4)                # biYPelsPerMeter
  _pictures_append_le(h 16 4)               # biClrUsed
  _pictures_append_le(h 0 4)                # biClrImportant
  foreach(rgb IN LISTS _palette)
    string(SUBSTRING "${rgb}" 0 2 r)
    string(SUBSTRING "${rgb}" 2 2 g)
    string(SUBSTRING "${rgb}" 4 2 b)
    string(APPEND h "${b}${g}${r}00")     # RGBQUAD
  endforeach()
  set(${out_var} "${h}" PARENT_SCOPE)
endfunction()

# Writes one resource of a numeric type: the byte string as little-endian 16-bit words, eight to a
# line.
function(_pictures_resource out_var name type bytes)
  string(LENGTH "${bytes}" chars)
  math(EXPR last "${chars} - 4")
  set(block "${name} ${type}\nBEGIN\n")
  set(column 0)
  foreach(at RANGE 0 ${last} 4)
    string(SUBSTRING "${bytes}" ${at} 2 low)
    math(EXPR at_high "${at} + 2")
    string(SUBSTRING "${bytes}" ${at_high} 2 high)
    if(column EQUAL 0)
      string(APPEND block "    ")
    endif()
    string(APPEND block "0x${high}${low}")
    if(at LESS last)
      string(APPEND block ",")
    endif()
    math(EXPR column "${column} + 1")
    if(column EQUAL 8 OR at EQUAL last)
      string(APPEND block "\n")
      set(column 0)
    else()
      string(APPEND block " ")
    endif()
  endforeach()
  string(APPEND block "END\n")
  set(${out_var} "${${out_var}}${block}" PARENT_SCOPE)
endfunction()

# Pads a row of hex digits with zeros to DIGITS digits.
function(_pictures_pad out_var digits)
  set(row "${${out_var}}")
  string(LENGTH "${row}" have)
  while(have LESS digits)
    string(APPEND row "0")
    math(EXPR have "${have} + 1")
  endwhile()
  set(${out_var} "${row}" PARENT_SCOPE)
endfunction()

# The AND mask of an icon's image from its pixel rows, given top-down: one bit a pixel, the most
# significant first, 1 where the pixel is transparent; bottom-up, each row padded to 4 bytes.
function(_pictures_mask out_var width rows)
  math(EXPR row_digits "((${width} + 31) / 32) * 8")
  math(EXPR last "${width} - 1")
  set(hex_digits 0 1 2 3 4 5 6 7 8 9 a b c d e f)
  set(mask "")
  list(REVERSE rows)
  foreach(row IN LISTS rows)
    set(bits "")
    set(nibble 0)
    foreach(x RANGE 0 ${last})
      string(SUBSTRING "${row}" ${x} 1 pixel)
      math(EXPR nibble "${nibble} * 2")
      if(pixel STREQUAL ".")
        math(EXPR nibble "${nibble} + 1")
      endif()
      math(EXPR filled "(${x} + 1) % 4")
      if(filled EQUAL 0 OR x EQUAL last)
        if(NOT filled EQUAL 0)
          math(EXPR nibble "${nibble} << (4 - ${filled})")
        endif()
        list(GET hex_digits ${nibble} digit)
        string(APPEND bits "${digit}")
        set(nibble 0)
      endif()
    endforeach()
    _pictures_pad(bits ${row_digits})
    string(APPEND mask "${bits}")
  endforeach()
  set(${out_var} "${mask}" PARENT_SCOPE)
endfunction()

# Pixel rows of a finished picture, given top-down, become the bottom-up, 4-byte padded DIB bits:
# a bitmap resource, or the next image of the icon (its directory entry kept in icon_entries).
function(_pictures_finish out_var name width height rows)
  math(EXPR row_bytes "((${width} * 4 + 31) / 32) * 4")
  math(EXPR row_digits "${row_bytes} * 2")
  math(EXPR image_size "${row_bytes} * ${height}")
  set(pixels "")
  set(top_down "${rows}")
  list(REVERSE rows)
  foreach(row IN LISTS rows)
    # A bitmap keeps transparent pixels in the key colour; an icon's are black under its mask.
    if(DEFINED ICON)
      string(REPLACE "." "0" row "${row}")
    else()
      string(REPLACE "." "d" row "${row}")
    endif()
    _pictures_pad(row ${row_digits})
    string(APPEND pixels "${row}")
  endforeach()
  set(text "${${out_var}}")
  if(NOT DEFINED ICON)
    _pictures_header(bytes ${width} ${height} ${image_size})
    _pictures_resource(text ${name} 2 "${bytes}${pixels}")
    set(${out_var} "${text}" PARENT_SCOPE)
    return()
  endif()
  if(width GREATER 256 OR height GREATER 256)
    message(FATAL_ERROR "${PICTURES}: picture ${name} is larger than an icon's 256 x 256")
  endif()
  _pictures_mask(mask ${width} "${top_down}")
  string(LENGTH "${mask}" mask_digits)
  math(EXPR size "${image_size} + ${mask_digits} / 2")
  # An icon's header counts the rows of the colours and of the mask together.
  math(EXPR both_heights "${height} * 2")
  _pictures_header(bytes ${width} ${both_heights} ${size})
  math(EXPR id "${icon_count} + 1")
  _pictures_resource(text ${id} 3 "${bytes}${pixels}${mask}")
  math(EXPR resource_size "40 + 16 * 4 + ${size}")
  set(entry "")
  math(EXPR w "${width} % 256")       # 0 stands for 256
  math(EXPR h "${height} % 256")
  _pictures_append_le(entry ${w} 1)   # bWidth
  _pictures_append_le(entry ${h} 1)   # bHeight
  _pictures_append_le(entry 16 1)     # bColorCount
  _pictures_append_le(entry 0 1)      # bReserved
  _pictures_append_le(entry 1 2)      # wPlanes
  _pictures_append_le(entry 4 2)      # wBitCount
  _pictures_append_le(entry ${resource_size} 4)  # dwBytesInRes
  _pictures_append_le(entry ${id} 2)  # nId
  set(icon_entries "${icon_entries}${entry}" PARENT_SCOPE)
  set(icon_count ${id} PARENT_SCOPE)
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

file(READ "${PICTURES}" content)
# Comments may hold any text: stand-ins keep semicolons, brackets and backslashes from splitting
# or merging the lines of the list, and each line gets them back once it is taken from it.
string(ASCII 1 semicolon_stand_in)
string(ASCII 2 open_stand_in)
string(ASCII 3 close_stand_in)
string(ASCII 4 backslash_stand_in)
string(REPLACE "\r" "" content "${content}")
string(REPLACE ";" "${semicolon_stand_in}" content "${content}")
string(REPLACE "[" "${open_stand_in}" content "${content}")
string(REPLACE "]" "${close_stand_in}" content "${content}")
string(REPLACE "\\" "${backslash_stand_in}" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

cmake_path(GET PICTURES FILENAME source_name)
set(rc "// Generated from ${source_name} by cmake/pictures.cmake: edit that file, not this one.\n")
set(header_pattern "([A-Za-z_][A-Za-z0-9_]*)[ \t]+([0-9]+)[ \t]+([0-9]+)")
set(names "")
set(name "")          # the picture being read, empty between pictures
set(icon_count 0)     # the icon's images so far, and their directory entries
set(icon_entries "")
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  string(REPLACE "${semicolon_stand_in}" ";" line "${line}")
  string(REPLACE "${open_stand_in}" "[" line "${line}")
  string(REPLACE "${close_stand_in}" "]" line "${line}")
  string(REPLACE "${backslash_stand_in}" "\\" line "${line}")
  set(where "${PICTURES}:${line_number}")
  if(line MATCHES "^#")
    continue()
  endif()
  string(STRIP "${line}" stripped)

  if(NOT name STREQUAL "")
    math(EXPR row_number "${row_count} + 1")
    if(stripped STREQUAL "" OR stripped MATCHES "^${header_pattern}$")
      message(FATAL_ERROR "${where}: row ${row_number} of picture ${name} (line ${header_line}) is "
                          "missing; it has ${row_count} of its ${height} rows")
    endif()
    string(LENGTH "${line}" length)
    if(NOT length EQUAL width)
      message(FATAL_ERROR "${where}: row ${row_number} of ${name} is ${length} pixels wide, not ${width}")
    endif()
    if(NOT line MATCHES "^[0-9a-cef.]*$")
      foreach(at RANGE 1 ${length})   # the loop variable does not outlive the loop
        math(EXPR offset "${at} - 1")
        string(SUBSTRING "${line}" ${offset} 1 char)
        if(NOT char MATCHES "^[0-9a-cef.]$")
          set(column ${at})
          break()
        endif()
      endforeach()
      if(char STREQUAL "d")
        message(FATAL_ERROR "${where}, column ${column}: 'd' (fuchsia) is the transparent key colour; "
                            "draw transparent pixels with '.'")
      endif()
      message(FATAL_ERROR "${where}, column ${column}: '${char}' is not a pixel; use 0-9, a-c, e, f or '.'")
    endif()
    list(APPEND rows "${line}")
    math(EXPR row_count "${row_count} + 1")
    if(row_count EQUAL height)
      _pictures_finish(rc ${name} ${width} ${height} "${rows}")
      set(name "")
    endif()
    continue()
  endif()

  if(stripped STREQUAL "")
    continue()
  endif()
  if(NOT stripped MATCHES "^${header_pattern}$")
    message(FATAL_ERROR "${where}: expected a picture header \"NAME WIDTH HEIGHT\", found \"${stripped}\"")
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(width "${CMAKE_MATCH_2}")
  set(height "${CMAKE_MATCH_3}")
  if(width LESS 1 OR height LESS 1)
    message(FATAL_ERROR "${where}: picture ${name} must be at least 1 x 1")
  endif()
  string(TOUPPER "${name}" key)   # resource names are looked up without regard to case
  if(key IN_LIST names)
    message(FATAL_ERROR "${where}: a picture named ${name} is already defined")
  endif()
  list(APPEND names "${key}")
  set(header_line ${line_number})
  set(rows "")
  set(row_count 0)
endforeach()

if(NOT name STREQUAL "")
  math(EXPR row_number "${row_count} + 1")
  message(FATAL_ERROR "${PICTURES}:${line_number}: the file ends before row ${row_number} of picture "
                      "${name} (line ${header_line}); it has ${row_count} of its ${height} rows")
endif()
if(names STREQUAL "")
  message(FATAL_ERROR "${PICTURES}: no pictures")
endif()
if(DEFINED ICON)
  # The icon's directory: reserved, type 1 (an icon), the count, then the entries.
  set(directory "")
  _pictures_append_le(directory 0 2)
  _pictures_append_le(directory 1 2)
  _pictures_append_le(directory ${icon_count} 2)
  _pictures_resource(rc ${ICON} 14 "${directory}${icon_entries}")
endif()

# Write only on a change, so the file's time stamp tells the build whether to compile it again.
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL rc)
  file(WRITE "${OUTPUT}" "${rc}")
endif()
