#include "platform/GameControllerSource.h"

GameControllerSource::GameControllerSource(QObject* parent) : QObject(parent) {}

GameControllerSource::~GameControllerSource() = default;
