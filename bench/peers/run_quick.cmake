# Runs every peer once on a small scene; fails when one fails.
foreach(peer ItemPeer CanvasPeer RepeaterPeer ShapesPeer HoverIndex HoverScan PlanView)
    execute_process(COMMAND ${PEERS} ${peer} 200 1 RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${peer} failed: ${result}")
    endif()
endforeach()
