# cmake -DSOURCE_DIR=<src folder> -P includerule.cmake
#
# Fails when a file under SOURCE_DIR includes a header of a folder it must not.
# Dependencies run one way, from the shell down to the shared widget helpers:
#
#   app/        every folder
#   classroom/  history/ students/ lessons/ settings/ widgets/ text/
#   history/    lessons/ students/ settings/ widgets/ text/
#   choice/     lessons/ settings/ widgets/ text/
#   students/   lessons/ settings/ widgets/ text/
#   lessons/    settings/ images/ widgets/ text/
#   settings/   widgets/ text/
#   images/     widgets/ text/
#   widgets/    text/
#   text/       nothing of ours: Windows-1250 and the counted characters
#
# A folder always includes its own headers; main.cpp, beside the folders, may
# include anything.

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(allowed_app app choice students lessons settings images widgets history classroom text)
set(allowed_classroom classroom history students lessons settings widgets text)
set(allowed_history history lessons students settings widgets text)
set(allowed_choice choice lessons settings widgets text)
set(allowed_students students lessons settings widgets text)
set(allowed_lessons lessons settings images widgets text)
set(allowed_settings settings widgets text)
set(allowed_images images widgets text)
set(allowed_widgets widgets text)
set(allowed_text text)
set(folders app choice students lessons settings images widgets history classroom text)

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
            list(APPEND broken "${file} includes ${header}")
        endforeach()
    endforeach()
endforeach()

if(broken)
    list(JOIN broken "\n  " text)
    message(FATAL_ERROR "Includes against the folders' order:\n  ${text}")
endif()
