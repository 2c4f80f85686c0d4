# cmake -DSOURCE_DIR=<src folder> -P includerule.cmake
#
# Fails when a file under SOURCE_DIR includes a header of a folder it must not.
# Dependencies run one way, from the shell down to the shared widget helpers:
#
#   app/       every folder
#   history/   lessons/ students/ settings/ widgets/
#   choice/    lessons/ settings/ widgets/
#   students/  lessons/ settings/ widgets/
#   lessons/   settings/ images/ widgets/
#   settings/  widgets/
#   images/    widgets/
#   widgets/   no other folder's widget header; core headers only (files that
#              CMakeLists.txt adds to target core: standard C++, no widgets),
#              such as the Windows-1250 table the text conversion uses
#
# A folder always includes its own headers; main.cpp, beside the folders, may
# include anything.

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(allowed_app app choice students lessons settings images widgets history)
set(allowed_history history lessons students settings widgets)
set(allowed_choice choice lessons settings widgets)
set(allowed_students students lessons settings widgets)
set(allowed_lessons lessons settings images widgets)
set(allowed_settings settings widgets)
set(allowed_images images widgets)
set(allowed_widgets widgets)
set(folders app choice students lessons settings images widgets history)

# The headers of target core, from every folder's CMakeLists.txt.
set(core_headers)
foreach(folder IN LISTS folders)
    if(EXISTS ${SOURCE_DIR}/${folder}/CMakeLists.txt)
        file(READ ${SOURCE_DIR}/${folder}/CMakeLists.txt lists)
        string(REGEX MATCHALL "target_sources\\(core[^)]*\\)" blocks "${lists}")
        foreach(block IN LISTS blocks)
            string(REGEX MATCHALL "[A-Za-z0-9_]+\\.h" headers "${block}")
            list(TRANSFORM headers PREPEND ${folder}/)
            list(APPEND core_headers ${headers})
        endforeach()
    endif()
endforeach()

set(broken)
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" header "${line}")
            string(REGEX REPLACE "/.*" "" target_folder "${header}")
            if(NOT target_folder IN_LIST folders OR target_folder IN_LIST allowed_${folder})
                continue()
            endif()
            if(folder STREQUAL "widgets" AND header IN_LIST core_headers)
                continue()
            endif()
            list(APPEND broken "${file} includes ${header}")
        endforeach()
    endforeach()
endforeach()

if(broken)
    list(JOIN broken "\n  " text)
    message(FATAL_ERROR "Includes against the folders' order:\n  ${text}")
endif()
