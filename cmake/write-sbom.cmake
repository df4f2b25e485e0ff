# Writes a release archive's bill of materials, CycloneDX 1.6 JSON: the
# product, each program and library in FOLDER with its SHA-256, and the
# components that list-components.sh printed to COMPONENTS, each with its
# Debian package's version, licence and package URL. The same inputs give
# the same bytes: the time is SOURCE_DATE_EPOCH's and the serial number is
# derived from the rest of the contents.
# Usage: cmake -DFOLDER=dir -DCOMPONENTS=file -DNAME=product -DVERSION=v
#              -DDESCRIPTION=text -DOUTPUT=file.cdx.json -P write-sbom.cmake
cmake_minimum_required(VERSION 3.25)

# Package URLs keep letters, digits and .-_~ as they are; Debian names and
# versions may also hold + and : (an epoch).
function(purl_part text out)
  string(REPLACE "%" "%25" text "${text}")
  string(REPLACE "+" "%2B" text "${text}")
  string(REPLACE ":" "%3A" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(licences_json licence out)
  if(licence MATCHES " ")
    set(${out} "[{\"expression\": \"${licence}\"}]" PARENT_SCOPE)
  else()
    set(${out} "[{\"license\": {\"id\": \"${licence}\"}}]" PARENT_SCOPE)
  endif()
endfunction()

set(components "[]")
set(files "")
file(REAL_PATH ${FOLDER} folder)
file(GLOB binaries RELATIVE ${folder} ${folder}/*.exe ${folder}/*.dll)
if(NOT binaries)
  message(FATAL_ERROR "write-sbom: no program or library in ${folder}")
endif()
list(SORT binaries)
foreach(binary IN LISTS binaries)
  file(SHA256 ${folder}/${binary} sum)
  if(binary MATCHES "\\.dll$")
    set(type library)
  else()
    set(type application)
  endif()
  string(JSON components SET "${components}" 999999 "{
    \"type\": \"${type}\", \"bom-ref\": \"file:${binary}\", \"name\": \"${binary}\", \"version\": \"${VERSION}\",
    \"hashes\": [{\"alg\": \"SHA-256\", \"content\": \"${sum}\"}]}")
  list(APPEND files "\"file:${binary}\"")
endforeach()

set(runtimes "")
file(STRINGS ${COMPONENTS} lines)
foreach(line IN LISTS lines)
  string(REPLACE "\t" ";" fields "${line}")
  list(GET fields 0 name)
  list(GET fields 1 package)
  list(GET fields 2 package_version)
  list(GET fields 3 architecture)
  list(GET fields 4 licence)
  list(GET fields 5 role)
  purl_part("${package}" purl_name)
  purl_part("${package_version}" purl_version)
  licences_json("${licence}" licences)
  if(role STREQUAL "runtime")
    set(type library)
    set(scope required)
    set(description "linked into each program and library")
    list(APPEND runtimes "\"${role}:${name}\"")
  else()
    set(type application)
    set(scope excluded)
    set(description "built the programs and libraries")
  endif()
  string(JSON components SET "${components}" 999999 "{
    \"type\": \"${type}\", \"bom-ref\": \"${role}:${name}\", \"name\": \"${name}\", \"version\": \"${package_version}\",
    \"description\": \"${description}\", \"scope\": \"${scope}\", \"licenses\": ${licences},
    \"purl\": \"pkg:deb/debian/${purl_name}@${purl_version}?arch=${architecture}\"}")
endforeach()

list(JOIN files ", " files)
list(JOIN runtimes ", " runtimes)
set(dependencies "[{\"ref\": \"product\", \"dependsOn\": [${files}]}]")
foreach(file IN LISTS binaries)
  string(JSON dependencies SET "${dependencies}" 999999 "{\"ref\": \"file:${file}\", \"dependsOn\": [${runtimes}]}")
endforeach()

string(TIMESTAMP now "%Y-%m-%dT%H:%M:%SZ" UTC)
set(bom "{
  \"bomFormat\": \"CycloneDX\", \"specVersion\": \"1.6\", \"version\": 1,
  \"metadata\": {
    \"timestamp\": \"${now}\",
    \"component\": {\"type\": \"application\", \"bom-ref\": \"product\", \"name\": \"${NAME}\",
                  \"version\": \"${VERSION}\", \"description\": \"${DESCRIPTION}\"}},
  \"components\": ${components},
  \"dependencies\": ${dependencies}}")
# Parsing and writing again gives one layout whatever the text above.
string(JSON bom SET "${bom}" version 1)
string(UUID serial NAMESPACE 6ba7b811-9dad-11d1-80b4-00c04fd430c8 NAME "${bom}" TYPE SHA1)
string(JSON bom SET "${bom}" serialNumber "\"urn:uuid:${serial}\"")
file(WRITE ${OUTPUT} "${bom}\n")
