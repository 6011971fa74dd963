#include "core/ActionRequest.h"

#include "core/MessageFields.h"

ActionRequest ReadActionRequest(const XMLElement& message) {
  ActionRequest request;
  ReadNumberChild(message, "ID", request.id);
  ReadTextChild(message, "Title", request.title);
  ReadTextChild(message, "ShortDescription", request.shortDescription);
  ReadTimeChild(message, "Deadline", request.deadline);
  ReadFragmentChild(message, "PreActionMessage", request.preActionMessage);
  ReadFragmentChild(message, "Preview", request.preview);
  ReadFragmentChild(message, "SourceActionTitle", request.sourceActionTitle);
  ReadFragmentChild(message, "MetaData", request.metaData);
  ReadBoolChild(message, "Cancellable", request.cancellable);
  ReadBoolChild(message, "Shutdown", request.shutdown);
  ReadBoolChild(message, "Restart", request.restart);
  ReadBoolChild(message, "IncludedCommand", request.includedCommand);
  ReadBoolChild(message, "ForceRun", request.forceRun);
  ReadBoolChild(message, "RequestSave", request.requestSave);
  ReadBoolChild(message, "UseCannedStrings", request.useCannedStrings);
  return request;
}
