# Build-time service settings. They reach the native core and the scene through
# the generated header kelvo_build_config.h (see src/serviceconfig.h); nothing
# here can be changed at run time.

option(KELVO_SANDBOX "Point every service setting at the bundled sandbox on 127.0.0.1" OFF)

set(KELVO_SANDBOX_HTTP_PORT 8470 CACHE STRING "HTTP port of the bundled sandbox service")
set(KELVO_SANDBOX_XMPP_PORT 5270 CACHE STRING "XMPP port of the bundled sandbox service")

# Values of the bundled sandbox service. Its application id, secret and product
# page are fictional and known only to the sandbox.
set(_sandbox_http "http://127.0.0.1:${KELVO_SANDBOX_HTTP_PORT}")
set(_sandbox_graph_root "${_sandbox_http}")
set(_sandbox_rest_root "${_sandbox_http}")
set(_sandbox_web_root "${_sandbox_http}")
set(_sandbox_chat_domain "chat.sandbox.test")
set(_sandbox_chat_host "127.0.0.1")
set(_sandbox_chat_port "${KELVO_SANDBOX_XMPP_PORT}")
set(_sandbox_app_id "100000000000001")
set(_sandbox_client_secret "5ab0c6f1d2e34a7b8c9d0e1f2a3b4c5d")
set(_sandbox_login_help_app_id "100000000000002")
set(_sandbox_ril_root "${_sandbox_http}")
set(_sandbox_ril_key "sandbox-ril-key")
set(_sandbox_map_plugin "itemsoverlay")
set(_sandbox_privacy_url "${_sandbox_http}/privacy")
set(_sandbox_mobile_root "${_sandbox_http}")
set(_sandbox_product_page_id "300000000000001")
set(_sandbox_product_page_name "Kelvo")

# Values of the real service: its public hosts. The application id, secret and
# Read It Later key belong to whoever registers the application; pass them with -D.
set(_real_graph_root "https://graph.facebook.com")
set(_real_rest_root "https://api.facebook.com")
set(_real_web_root "https://www.facebook.com")
set(_real_chat_domain "chat.facebook.com")
set(_real_chat_host "")
set(_real_chat_port "")
set(_real_app_id "")
set(_real_client_secret "")
set(_real_login_help_app_id "")
set(_real_ril_root "https://readitlaterlist.com")
set(_real_ril_key "")
set(_real_map_plugin "osm")
set(_real_privacy_url "https://www.facebook.com/policy.php")
set(_real_mobile_root "https://m.facebook.com")
set(_real_product_page_id "")
set(_real_product_page_name "Kelvo")

if(KELVO_SANDBOX)
    set(_which sandbox)
else()
    set(_which real)
endif()

# Each setting is a cache variable; an empty cache value takes the default of the
# chosen service, so -DKELVO_SANDBOX=ON switches every one that was not set by hand.
macro(kelvo_setting name key doc)
    set(${name} "" CACHE STRING "${doc} (empty: the default of the chosen service)")
    if("${${name}}" STREQUAL "")
        set(${name}_VALUE "${_${_which}_${key}}")
    else()
        set(${name}_VALUE "${${name}}")
    endif()
endmacro()

kelvo_setting(KELVO_GRAPH_ROOT graph_root "Graph API root, scheme and host")
kelvo_setting(KELVO_REST_ROOT rest_root "REST API root, scheme and host")
kelvo_setting(KELVO_WEB_ROOT web_root "Web host of the login dialog, scheme and host")
kelvo_setting(KELVO_CHAT_DOMAIN chat_domain "Chat service domain")
kelvo_setting(KELVO_CHAT_HOST chat_host "Chat server host (empty: SRV look-up of the domain)")
kelvo_setting(KELVO_CHAT_PORT chat_port "Chat server port (empty: the library's default)")
kelvo_setting(KELVO_APP_ID app_id "Application id, 15 digits")
kelvo_setting(KELVO_CLIENT_SECRET client_secret "Client secret, 32 hexadecimal digits")
kelvo_setting(KELVO_LOGIN_HELP_APP_ID login_help_app_id "Application id of the login-problems link")
kelvo_setting(KELVO_RIL_ROOT ril_root "Read It Later root, scheme and host")
kelvo_setting(KELVO_RIL_KEY ril_key "Read It Later API key")
kelvo_setting(KELVO_MAP_PLUGIN map_plugin "Map plugin of the check-in map")
kelvo_setting(KELVO_PRIVACY_URL privacy_url "Privacy policy address shown under the login dialog")
kelvo_setting(KELVO_MOBILE_ROOT mobile_root "Mobile web root, scheme and host")
kelvo_setting(KELVO_PRODUCT_PAGE_ID product_page_id "Id of the product page that seeds the favourite pages")
kelvo_setting(KELVO_PRODUCT_PAGE_NAME product_page_name "Title of the product page that seeds the favourite pages")

if("${KELVO_CHAT_PORT_VALUE}" STREQUAL "")
    set(KELVO_CHAT_PORT_VALUE 0)
endif()

if(KELVO_SANDBOX)
    set(KELVO_SANDBOX_CXX true)
else()
    set(KELVO_SANDBOX_CXX false)
endif()

set(KELVO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvo_build_config.h.in
               ${KELVO_GENERATED_DIR}/kelvo_build_config.h @ONLY)
add_library(kelvo_build_config INTERFACE)
target_include_directories(kelvo_build_config INTERFACE ${KELVO_GENERATED_DIR})

message(STATUS "Kelvo services: ${_which} (Graph root ${KELVO_GRAPH_ROOT_VALUE})")
