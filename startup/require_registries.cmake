# Fails an installation, and with it a package, that would ship the programs without the
# identifier registries, naming every network and CA system "<unknown>".
#   cmake -DREGISTRIES=FOLDER -DSHARED=FOLDER -P require_registries.cmake
# (also included by the install rules with both variables set). SHARED is where the build
# copies them from.
foreach(registry original_network_id.csv ca_system_id.csv)
  if(NOT EXISTS "${REGISTRIES}/${registry}")
    message(FATAL_ERROR "${REGISTRIES}/${registry} is missing: without the registries every network "
                        "and CA system would be named \"<unknown>\". Put original_network_id.csv and "
                        "ca_system_id.csv into ${SHARED} and configure again.")
  endif()
endforeach()
