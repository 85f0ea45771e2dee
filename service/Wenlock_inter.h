// The card service object TWenlockCOM of Wenlock.WenlockCOM: the dual interface IWenlockCOM over the
// read and write transactions. It converts Variants to GBK text and back and does no card work.
#pragma once

#include <windows.h>

#include "DispatchObject.h"
#include "Wenlock_TLB_h.h"

namespace wenlock {

class TWenlockCOM final : public com::DispatchObject<IWenlockCOM, IID_IWenlockCOM> {
 public:
  // ErrorInfo receives the text of ErrorID itself: no message is looked up.
  HRESULT STDMETHODCALLTYPE ReadErrorInfo(VARIANT ErrorID, VARIANT* ErrorInfo) override;

  // One read transaction: the outs are the read record after port, in record order, then errCode.
  HRESULT STDMETHODCALLTYPE Read_Card(
      VARIANT port, VARIANT* factory, VARIANT* password, VARIANT* cardNo, VARIANT* factor,
      VARIANT* writeNo, VARIANT* meterKind, VARIANT* meterConst, VARIANT* cardState,
      VARIANT* leftPower, VARIANT* leftMoney, VARIANT* totalBuy, VARIANT* totalMoney,
      VARIANT* totalUsed, VARIANT* totalUsedMoney, VARIANT* jPrice, VARIANT* fPrice,
      VARIANT* pPrice, VARIANT* gPrice, VARIANT* oweMoney, VARIANT* upZeroPower, VARIANT* yJPower,
      VARIANT* yPPower, VARIANT* yNPower, VARIANT* yVPower, VARIANT* wJPower, VARIANT* wPPower,
      VARIANT* wNPower, VARIANT* wVPower, VARIANT* lastYJPower, VARIANT* lastYPPower,
      VARIANT* lastYNPower, VARIANT* lastYVPower, VARIANT* lastWJPower, VARIANT* lastWPPower,
      VARIANT* lastWNPower, VARIANT* lastWVPower, VARIANT* yNeedIndex, VARIANT* yJNeedIndex,
      VARIANT* yPNeedIndex, VARIANT* yNNeedIndex, VARIANT* yVNeedIndex, VARIANT* yNeedIndexTime,
      VARIANT* yJNeedIndexTime, VARIANT* yPNeedIndexTime, VARIANT* yNNeedIndexTime,
      VARIANT* yVNeedIndexTime, VARIANT* wNeedIndex, VARIANT* wNeedIndexTime,
      VARIANT* lastYNeedIndex, VARIANT* lastYJNeedIndex, VARIANT* lastYPNeedIndex,
      VARIANT* lastYNNeedIndex, VARIANT* lastYVNeedIndex, VARIANT* lastYNeedIndexTime,
      VARIANT* lastYJNeedIndexTime, VARIANT* lastYPNeedIndexTime, VARIANT* lastYNNeedIndexTime,
      VARIANT* lastYVNeedIndexTime, VARIANT* lastWNeedIndex, VARIANT* lastWNeedIndexTime,
      VARIANT* code1, VARIANT* code2, VARIANT* code3, VARIANT* code4, VARIANT* errCode) override;

  // One write transaction: the ins are the write record in record order, then errCode.
  HRESULT STDMETHODCALLTYPE Write_Card(
      VARIANT port, VARIANT factory, VARIANT areaId, VARIANT operation, VARIANT writeNo,
      VARIANT cardNo, VARIANT password, VARIANT userNo, VARIANT icKind, VARIANT buyPower,
      VARIANT buyMoney, VARIANT price, VARIANT buyTimes, VARIANT maxBurden, VARIANT factor,
      VARIANT jPrice, VARIANT fPrice, VARIANT pPrice, VARIANT gPrice, VARIANT warnPower,
      VARIANT warnMoney, VARIANT highPower, VARIANT lowPower, VARIANT warnTime, VARIANT supCardNum,
      VARIANT yConst, VARIANT wConst, VARIANT allowOverMoney, VARIANT upCompTime,
      VARIANT allowStopPower, VARIANT notStopPowerBeginTime1, VARIANT notStopPowerEndTime1,
      VARIANT notStopPowerBeginTime2, VARIANT notStopPowerEndTime2, VARIANT notStopPowerBeginTime3,
      VARIANT notStopPowerEndTime3, VARIANT notStopPowerBeginTime4, VARIANT notStopPowerEndTime4,
      VARIANT notStopPowerBeginTime5, VARIANT notStopPowerEndTime5, VARIANT notStopPowerBeginTime6,
      VARIANT notStopPowerEndTime6, VARIANT dayNotStopPowerBeginTime1,
      VARIANT dayNotStopPowerEndTime1, VARIANT dayNotStopPowerBeginTime2,
      VARIANT dayNotStopPowerEndTime2, VARIANT warnControl, VARIANT timeSeg0, VARIANT timeSeg1,
      VARIANT timeSeg2, VARIANT timeSeg3, VARIANT timeSeg4, VARIANT timeSeg5, VARIANT timeSeg6,
      VARIANT timeSeg7, VARIANT timeSeg8, VARIANT timeSeg9, VARIANT needIndexPeriod,
      VARIANT smoothDiffTime, VARIANT FollDisy, VARIANT autoCBDay, VARIANT yBeginNum,
      VARIANT wBeginNum, VARIANT agreeOverPower, VARIANT needRecuTime, VARIANT warnBurdenDelay,
      VARIANT buytime, VARIANT insertCardFlag, VARIANT code1, VARIANT code2, VARIANT code3,
      VARIANT code4, VARIANT* errCode) override;
};

// The creator for the class factory of WenlockCOM.
HRESULT CreateWenlockCOM(REFIID iid, void** out);

}  // namespace wenlock
