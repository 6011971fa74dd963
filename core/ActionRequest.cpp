#include "core/ActionRequest.h"

#include "core/MessageFields.h"

ActionRequest ReadActionRequest(const XMLElement& message) {
  ActionRequest request;
  ReadChild(message, "ID", request.id);
  ReadChild(message, "Title", request.title);
  ReadChild(message, "ShortDescription", request.shortDescription);
  ReadChild<TimeField>(message, "Deadline", request.deadline);
  ReadChild(message, "PreActionMessage", request.preActionMessage);
  ReadChild(message, "Preview", request.preview);
  ReadChild(message, "SourceActionTitle", request.sourceActionTitle);
  ReadChild(message, "MetaData", request.metaData);
  ReadChild(message, "Cancellable", request.cancellable);
  ReadChild(message, "Shutdown", request.shutdown);
  ReadChild(message, "Restart", request.restart);
  ReadChild(message, "IncludedCommand", request.includedCommand);
  ReadChild(message, "ForceRun", request.forceRun);
  ReadChild(message, "RequestSave", request.requestSave);
  ReadChild(message, "UseCannedStrings", request.useCannedStrings);
  return request;
}
