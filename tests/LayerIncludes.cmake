# Checks that includes run down the layers only: cmake -DROOT=<source tree> -P this file.
# Each rule names folders and a regular expression their files' includes must not match;
# a broken rule names the file and the include.

set(broken "")

function(forbid pattern)
  foreach(folder IN LISTS ARGN)
    file(GLOB_RECURSE files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    foreach(file IN LISTS files)
      file(STRINGS ${file} includes REGEX "^#include")
      foreach(line IN LISTS includes)
        if(line MATCHES "${pattern}")
          file(RELATIVE_PATH name ${ROOT} ${file})
          string(APPEND broken "  ${name}: ${line}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(broken "${broken}" PARENT_SCOPE)
endfunction()

set(core platform/com platform/win platform/text)

forbid("\"platform/(av|dshow|ui|mfc)/" ${core})
forbid("<lib(av|sw)[a-z]*/" ${core})
forbid("\"(platform/(ui|mfc)|media/ui)/" platform/av platform/dshow creator/engine editor/engine bench)
forbid("\"(creator/app|editor)/" creator/engine)
forbid("\"(creator|editor/app)/" editor/engine)
forbid("\"(creator|editor)/" platform media)
forbid("\"creator/" editor)
forbid("\"editor/" creator/app)
forbid("\"platform/(av|dshow)/" platform/ui platform/mfc)
forbid("<(Q[A-Za-z]*[/>]|lib(av|sw)[a-z]*/)" platform/mfc)
forbid("<(Q[A-Za-z]*[/>]|lib(av|sw)[a-z]*/)" media creator editor tools bench)

if(broken)
  message(FATAL_ERROR "includes that run up the layers:\n${broken}")
endif()
