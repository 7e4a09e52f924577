# Checks every #include "..." of the tree against the layer map of docs/layers.md: a file may
# include a header of its own layer and of the layers its layer uses, directly or through
# others; anything else goes upward or sideways and fails. Every source file must belong to a
# layer, so a new folder fails until the map names it.
#
#   cmake -DSOURCE_DIR=<source root> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake: pass -DSOURCE_DIR=<source root>")
endif()
set(strMap ${SOURCE_DIR}/docs/layers.md)

# The map's rows: | `layer` | `path` `path` ... | `layer` `layer` ... | and more columns that
# only people read. A path is a folder (ending in /) or the start of file names; a file belongs
# to the longest path it starts with.
function(read_items strCell strOut)
  string(REGEX MATCHALL "`[^`]+`" arrItems "${strCell}")
  string(REPLACE "`" "" arrItems "${arrItems}")
  set(${strOut} ${arrItems} PARENT_SCOPE)
endfunction()
file(STRINGS ${strMap} arrRows REGEX "^\\| `")
set(arrLayers)
set(arrPaths)
foreach(strRow IN LISTS arrRows)
  string(REGEX MATCH "^\\|([^|]*)\\|([^|]*)\\|([^|]*)\\|" strCells "${strRow}")
  read_items("${CMAKE_MATCH_1}" strLayer)
  read_items("${CMAKE_MATCH_2}" arrItems)
  read_items("${CMAKE_MATCH_3}" USES_${strLayer})
  if(NOT strLayer OR NOT arrItems)
    message(FATAL_ERROR "${strMap}: a row needs a layer, its paths and its uses: ${strRow}")
  endif()
  list(APPEND arrLayers ${strLayer})
  foreach(strItem IN LISTS arrItems)
    list(APPEND arrPaths ${strItem})
    set(LAYER_OF_PATH_${strItem} ${strLayer})
  endforeach()
endforeach()

# What each layer may reach, through the layers it uses; "*" reaches every layer.
foreach(strLayer IN LISTS arrLayers)
  set(arrReach)
  set(arrQueue ${USES_${strLayer}})
  while(arrQueue)
    list(POP_FRONT arrQueue strNext)
    if(strNext STREQUAL "*")
      set(arrReach ${arrLayers})
      break()
    elseif(NOT strNext IN_LIST arrLayers)
      message(FATAL_ERROR "${strMap}: layer ${strLayer} reaches ${strNext}, which has no row")
    elseif(strNext STREQUAL strLayer)
      message(FATAL_ERROR "${strMap}: layer ${strLayer} reaches itself through the layers it uses")
    elseif(NOT strNext IN_LIST arrReach)
      list(APPEND arrReach ${strNext})
      list(APPEND arrQueue ${USES_${strNext}})
    endif()
  endwhile()
  set(REACH_${strLayer} ${arrReach})
endforeach()

# The layer of a path relative to the source root, empty when no row names it.
function(find_layer strPath strOut)
  set(strBest "")
  set(nBest 0)
  foreach(strPrefix IN LISTS arrPaths)
    string(LENGTH "${strPrefix}" nLength)
    string(SUBSTRING "${strPath}" 0 ${nLength} strStart)
    if(nLength GREATER nBest AND strStart STREQUAL strPrefix)
      set(nBest ${nLength})
      set(strBest ${LAYER_OF_PATH_${strPrefix}})
    endif()
  endforeach()
  set(${strOut} "${strBest}" PARENT_SCOPE)
endfunction()

# Every C and C++ file of the tree, but those of the build folders and hidden ones.
file(GLOB_RECURSE arrFiles RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.hpp ${SOURCE_DIR}/*.c
     ${SOURCE_DIR}/*.cpp)
list(FILTER arrFiles EXCLUDE REGEX "^(\\.|build)|/\\.")

set(arrFailures)
foreach(strFile IN LISTS arrFiles)
  find_layer(${strFile} strLayer)
  if(NOT strLayer)
    list(APPEND arrFailures "${strFile}: no row of docs/layers.md holds it")
    continue()
  endif()
  get_filename_component(strFolder ${strFile} DIRECTORY)
  file(STRINGS ${SOURCE_DIR}/${strFile} arrIncludes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(strLine IN LISTS arrIncludes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" strName "${strLine}")
    # As the compiler looks: beside the including file first, then from the source root; else
    # a system or generated header.
    if(EXISTS ${SOURCE_DIR}/${strFolder}/${strName})
      set(strIncluded ${strFolder}/${strName})
    elseif(EXISTS ${SOURCE_DIR}/${strName})
      set(strIncluded ${strName})
    else()
      continue()
    endif()
    cmake_path(NORMAL_PATH strIncluded)
    find_layer(${strIncluded} strTarget)
    # A header no row holds is reported once, as a file of its own.
    if(strTarget AND NOT strTarget STREQUAL strLayer AND NOT strTarget IN_LIST REACH_${strLayer})
      list(APPEND arrFailures
           "${strFile} (${strLayer}) includes ${strIncluded} (${strTarget}), a layer ${strLayer} does not use")
    endif()
  endforeach()
endforeach()

list(LENGTH arrFiles nFiles)
if(arrFailures)
  list(LENGTH arrFailures nFailures)
  list(JOIN arrFailures "\n  " strFailures)
  message(FATAL_ERROR "${nFailures} include(s) against the layer map:\n  ${strFailures}")
endif()
message(STATUS "${nFiles} files keep to the layer map")
