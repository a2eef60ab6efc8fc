# Turns the text-art pictures into an .rc file of RT_BITMAP resources (4-bit packed DIBs).
#
#   cmake -DPICTURES=src/toolkit/win32/Pictures.txt -DOUTPUT=<build>/Pictures.rc -P cmake/pictures.cmake
#
# The data is written as 16-bit words under the numeric type 2 because that is the raw-data form
# windres accepts; its BITMAP statement only takes a file name. The output is rewritten only when
# its text changes, so an unchanged picture file does not make the resources compile again.
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

# Writes one resource: the byte string as little-endian 16-bit words, eight to a line.
function(_pictures_resource out_var name bytes)
  string(LENGTH "${bytes}" chars)
  math(EXPR last "${chars} - 4")
  set(block "${name} 2\nBEGIN\n")
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

# Pixel rows of a finished picture, given top-down, become the bottom-up, 4-byte padded DIB bits.
function(_pictures_finish out_var name width height rows)
  math(EXPR row_bytes "((${width} * 4 + 31) / 32) * 4")
  math(EXPR row_digits "${row_bytes} * 2")
  math(EXPR image_size "${row_bytes} * ${height}")
  _pictures_header(bytes ${width} ${height} ${image_size})
  list(REVERSE rows)
  foreach(row IN LISTS rows)
    string(REPLACE "." "d" row "${row}")
    string(LENGTH "${row}" have)
    while(have LESS row_digits)
      string(APPEND row "0")
      math(EXPR have "${have} + 1")
    endwhile()
    string(APPEND bytes "${row}")
  endforeach()
  set(text "${${out_var}}")
  _pictures_resource(text ${name} "${bytes}")
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

# Write only on a change, so the file's time stamp tells the build whether to compile it again.
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL rc)
  file(WRITE "${OUTPUT}" "${rc}")
endif()
