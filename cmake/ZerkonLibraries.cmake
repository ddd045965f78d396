# zk_refuse_unknown(<function> <name> <unparsed> <values>...): stops the configuration when a
# declaration holds something its function does not know. cmake_parse_arguments puts a misspelt
# keyword that follows a list (SOURCES a.cpp LINK x) into that list, so a value written like a
# keyword (upper case and underscores only) is refused as well as what came before any keyword.
function(zk_refuse_unknown function name unparsed)
  set(unknown ${unparsed})
  foreach(value ${ARGN})
    if(value MATCHES "^[A-Z][A-Z_]+$")
      list(APPEND unknown ${value})
    endif()
  endforeach()
  if(unknown)
    message(FATAL_ERROR "${function}(${name}): unknown arguments: ${unknown}")
  endif()
endfunction()

# zk_add_library(<name> STATIC|SHARED SOURCES ... [LINKS ...] [PRIVATE_LINKS ...] [DEPENDS ...])
# One library of the program: its sources, the libraries its headers need (LINKS, passed on to
# whoever links it), those only its sources need (PRIVATE_LINKS), and targets that must be built
# before it (DEPENDS). Anything else is refused, so that a misspelt keyword does not silently
# become a source file or a library.
function(zk_add_library name)
  cmake_parse_arguments(ARG "STATIC;SHARED" "" "SOURCES;LINKS;PRIVATE_LINKS;DEPENDS" ${ARGN})
  zk_refuse_unknown(zk_add_library ${name} "${ARG_UNPARSED_ARGUMENTS}"
                    ${ARG_SOURCES} ${ARG_LINKS} ${ARG_PRIVATE_LINKS} ${ARG_DEPENDS})
  if(ARG_STATIC AND ARG_SHARED OR NOT ARG_STATIC AND NOT ARG_SHARED)
    message(FATAL_ERROR "zk_add_library(${name}): say STATIC or SHARED, once")
  endif()
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "zk_add_library(${name}): no SOURCES")
  endif()
  if(ARG_STATIC)
    add_library(${name} STATIC ${ARG_SOURCES})
  else()
    add_library(${name} SHARED ${ARG_SOURCES})
  endif()
  if(ARG_LINKS)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  endif()
  if(ARG_PRIVATE_LINKS)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LINKS})
  endif()
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
endfunction()
